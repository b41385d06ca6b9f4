#ifndef REPAIR_STUDYSETSTUDY_H
#define REPAIR_STUDYSETSTUDY_H

#include "study/BaseStudyClass.h"

// REPAIR_STUDYSetStudy: the study of the machine-repair model. Experiment 1: 5 machines,
// 2 crews, lambda = 0.5, mu = 1; experiment 2: 10 machines, 3 crews, lambda = 0.2, mu = 1.
class REPAIR_STUDYSetStudy : public BaseStudyClass {
 public:
  REPAIR_STUDYSetStudy();
  ~REPAIR_STUDYSetStudy() override;   // deletes ThePVModel
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(char* TheGVName) override;
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;
};

#endif
