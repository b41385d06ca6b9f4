#ifndef TAVRIN_FRAMEWORK_SAN_ACTIVITY_H
#define TAVRIN_FRAMEWORK_SAN_ACTIVITY_H

#include "framework/BaseGroupClass.h"

// Activity: the base of every generated activity. It is a group holding only itself, so the
// engine schedules single activities and groups through one interface. A generated
// activity's Enabled() copies NewEnabled into OldEnabled, then stores the predicate in
// NewEnabled and returns it; EnablingChange relies on that.
class Activity : public BaseGroupClass {
 public:
  Activity();

  void ActivityInitialize(const char* name, int groupId, Distribution distribution,
                          ExecutionPolicyType policy, int numAffected, int numEnabling,
                          bool reactivation);

  BaseActionClass* Fire() override = 0;
  bool EnablingChange() override;
  double Probability(BaseActionClass* action) override;
  bool SelectAction() override;
  void setGroupId(int groupId) override;
  virtual void LinkVariables() = 0;   // registers the activity's mark pointers with its places

  bool IsAnAffectingStateVariable(BaseStateVariableClass* sv) const;

  // A place's tokens run from 0 to 32767: a marking below 0 after a firing is a place that
  // overflowed (and wrapped) or gave more tokens than it held. Generated firings test the
  // places they change and call this, which names both and ends the run with status 1.
  [[noreturn]] void MarkingOutOfRange(const BaseStateVariableClass* place, int marking) const;

  double* TheDistributionParameters;   // owned by the generated activity, when it has any
  // Last, next to the generated activity's mark pointers that Enabled() reads with them.
  bool NewEnabled;   // the enabling predicate at its latest computation
  bool OldEnabled;   // the value before that
};

#endif
