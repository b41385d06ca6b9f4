#ifndef MD1_STUDYSETSTUDY_H
#define MD1_STUDYSETSTUDY_H

#include "study/BaseStudyClass.h"

// MD1_STUDYSetStudy: the study of the M/D/1 queue. Two experiments with mu = 1, so that a
// service takes exactly 1: lambda = 0.5 and 0.8.
class MD1_STUDYSetStudy : public BaseStudyClass {
 public:
  MD1_STUDYSetStudy();
  ~MD1_STUDYSetStudy() override;   // deletes ThePVModel
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(char* TheGVName) override;
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;
};

#endif
