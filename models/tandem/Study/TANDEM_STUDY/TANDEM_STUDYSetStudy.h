#ifndef TANDEM_STUDYSETSTUDY_H
#define TANDEM_STUDYSETSTUDY_H

#include "study/BaseStudyClass.h"

// TANDEM_STUDYSetStudy: the study of the tandem. Experiment 1: 4 customers, rates 1, 2
// and 1.5; experiment 2: 6 customers, rates 1, 1 and 0.8.
class TANDEM_STUDYSetStudy : public BaseStudyClass {
 public:
  TANDEM_STUDYSetStudy();
  ~TANDEM_STUDYSetStudy() override;   // deletes ThePVModel
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(char* TheGVName) override;
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;
};

#endif
