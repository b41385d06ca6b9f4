#ifndef NQUEUESTUDY_H
#define NQUEUESTUDY_H

#include "study/BaseStudyClass.h"

// NQueueStudy: the study of the N-queue benchmark. Three experiments, N = 10, 100 and 1000
// queues at rho 0.8 (lambda 0.8, mu 1) with room for K = 100, each with a horizon that
// gives some ten million firings.
class NQueueStudy : public BaseStudyClass {
 public:
  NQueueStudy();
  ~NQueueStudy() override;   // deletes ThePVModel
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(char* TheGVName) override;
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;
};

#endif
