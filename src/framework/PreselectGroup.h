#ifndef TAVRIN_FRAMEWORK_PRESELECTGROUP_H
#define TAVRIN_FRAMEWORK_PRESELECTGROUP_H

#include "framework/BaseGroupClass.h"

// PreselectGroup: chooses its member before the completion time is sampled and keeps the
// choice until it fires, so the chosen member's timing and reactivation rules govern it.
class PreselectGroup : public BaseGroupClass {
 public:
  PreselectGroup();
  explicit PreselectGroup(int capacity);

  bool SelectAction() override;
  bool Enabled() override;
  int Rank() override;
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  double SampleDistribution() override;
  BaseActionClass* Fire() override;

  bool NeedToReselect;   // true until a selection finds an enabled member, and after firing

 private:
  void reselectIfNeeded();
};

#endif
