#include "framework/san/Activity.h"

#include <cstdlib>
#include <iostream>

#include "framework/BaseStateVariableClass.h"

Activity::Activity() : TheDistributionParameters(nullptr), NewEnabled(false), OldEnabled(false) {
  Disabled = true;
  Reactivation = false;
  SelectedAction = this;
}

void Activity::ActivityInitialize(const char* name, int groupId, Distribution distribution,
                                  ExecutionPolicyType policy, int numAffected, int numEnabling,
                                  bool reactivation) {
  BaseActionClassInitialize(name, groupId, distribution, policy, numAffected, numEnabling,
                            reactivation);
}

bool Activity::EnablingChange() {
  Enabled();
  return NewEnabled != OldEnabled;
}

double Activity::Probability(BaseActionClass* action) { return (action == this) ? 1.0 : 0.0; }

bool Activity::SelectAction() { return Enabled(); }

void Activity::setGroupId(int groupId) { GroupID = groupId; }

bool Activity::IsAnAffectingStateVariable(BaseStateVariableClass* sv) const {
  return AffectedStateVariables.contains(sv);
}

void Activity::MarkingOutOfRange(const BaseStateVariableClass* place, int marking) const {
  std::cerr << "ERROR: MARKING_OUT_OF_RANGE: place " << place->getFullyQualifiedName() << " holds " << marking
            << " after activity " << ActionName << InstanceNote()
            << " fired; a place holds 0 to 32767 tokens (it overflowed, or gave more tokens than it had)"
            << std::endl;
  std::exit(1);
}
