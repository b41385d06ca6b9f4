#ifndef MM1K_STUDYSETSTUDY_H
#define MM1K_STUDYSETSTUDY_H

#include "study/BaseStudyClass.h"

// MM1K_STUDYSetStudy: the study of the queue model. Four experiments with mu = 1 and
// K = 10: lambda = 0.5, 0.8 and 0.95; the fourth, lambda = 0.8 with K = 100, is as good as
// an unbounded queue (the system is full a fraction 4e-11 of the time).
class MM1K_STUDYSetStudy : public BaseStudyClass {
 public:
  MM1K_STUDYSetStudy();
  ~MM1K_STUDYSetStudy() override;   // deletes ThePVModel
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(char* TheGVName) override;
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;
};

#endif
