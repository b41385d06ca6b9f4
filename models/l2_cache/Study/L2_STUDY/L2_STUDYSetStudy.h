#ifndef L2_STUDYSETSTUDY_H
#define L2_STUDYSETSTUDY_H

#include "study/BaseStudyClass.h"

// L2_STUDYSetStudy: the study of the cache model: one experiment, no global variables.
class L2_STUDYSetStudy : public BaseStudyClass {
 public:
  L2_STUDYSetStudy();
  ~L2_STUDYSetStudy() override;   // deletes ThePVModel
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(char* TheGVName) override;
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;
};

#endif
