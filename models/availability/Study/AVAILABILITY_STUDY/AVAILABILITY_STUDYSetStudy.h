#ifndef AVAILABILITY_STUDYSETSTUDY_H
#define AVAILABILITY_STUDYSETSTUDY_H

#include "study/BaseStudyClass.h"

// AVAILABILITY_STUDYSetStudy: the study of the component model: the failure and repair
// rates lambda and mu for each of its two experiments.
class AVAILABILITY_STUDYSetStudy : public BaseStudyClass {
 public:
  AVAILABILITY_STUDYSetStudy();
  ~AVAILABILITY_STUDYSetStudy() override;   // deletes ThePVModel
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(char* TheGVName) override;
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;
};

#endif
