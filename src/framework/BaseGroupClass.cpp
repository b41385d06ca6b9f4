#include "framework/BaseGroupClass.h"

#include <iostream>
#include <new>
#include <string>

#include "framework/Errors.h"
#include "random/RandomNumberGenerator.h"
#include "random/UserDistributions.h"

BaseGroupClass::BaseGroupClass()
    : GroupArray(nullptr),
      SelectedAction(nullptr),
      ActionWeights(nullptr),
      HighestRank(0),
      NumActions(0),
      NumSelectableActions(0),
      ArraySize(0) {}

BaseGroupClass::BaseGroupClass(const char* name, int groupId, Distribution distribution,
                               ExecutionPolicyType policy, int numAffected, int numEnabling,
                               bool reactivation)
    : BaseGroupClass() {
  BaseGroupClassInitialize(name, groupId, distribution, policy, numAffected, numEnabling,
                           reactivation);
}

BaseGroupClass::BaseGroupClass(const char* name, int groupId, Distribution distribution,
                               ExecutionPolicyType policy, int numAffected, int numEnabling,
                               bool reactivation, int capacity)
    : BaseGroupClass(name, groupId, distribution, policy, numAffected, numEnabling,
                     reactivation) {
  createArrays(capacity);
}

BaseGroupClass::~BaseGroupClass() {
  delete[] GroupArray;
  delete[] ActionWeights;
}

void BaseGroupClass::BaseGroupClassInitialize(const char* name, int groupId,
                                              Distribution distribution,
                                              ExecutionPolicyType policy, int numAffected,
                                              int numEnabling, bool reactivation) {
  BaseActionClassInitialize(name, groupId, distribution, policy, numAffected, numEnabling,
                            reactivation);
}

void BaseGroupClass::initialize(int capacity, const char* name) {
  createArrays(capacity);
  defineName(name);
  SelectedAction = nullptr;
  HighestRank = 0;
  NumSelectableActions = 0;
}

// Makes both arrays with the given capacity, keeping the members already held; the weights
// are rebuilt at every selection and need not survive.
void BaseGroupClass::createArrays(int capacity) {
  TAVRIN_ASSERT(capacity >= NumActions);
  BaseGroupClass** members = new (std::nothrow) BaseGroupClass*[capacity]();
  GroupWeight* weights = new (std::nothrow) GroupWeight[capacity]();
  if (members == nullptr || weights == nullptr) MemoryAllocationError();
  for (int i = 0; i < NumActions; i++) members[i] = GroupArray[i];
  delete[] GroupArray;
  delete[] ActionWeights;
  GroupArray = members;
  ActionWeights = weights;
  ArraySize = capacity;
}

void BaseGroupClass::appendGroup(BaseGroupClass* member) {
  TAVRIN_ASSERT(NumActions <= ArraySize);
  if (NumActions == ArraySize) enlargeArrays(ArraySize + 1);
  GroupArray[NumActions++] = member;
}

void BaseGroupClass::appendMembers(BaseGroupClass* group) {
  TAVRIN_ASSERT(NumActions <= ArraySize);
  int needed = NumActions + group->NumActions;
  if (needed > ArraySize) enlargeArrays(needed);
  for (int i = 0; i < group->NumActions; i++) GroupArray[NumActions++] = group->GroupArray[i];
}

void BaseGroupClass::setMember(BaseGroupClass* member, int i) {
  if (i < 0 || i >= NumActions) {
    ArrayOutOfBoundsError("Array out of bounds (BaseGroupClass::setMember()");
    return;
  }
  GroupArray[i] = member;
}

void BaseGroupClass::replaceMember(BaseActionClass* oldAction, BaseActionClass* newAction) {
  for (int i = 0; i < NumActions; i++) {
    if (GroupArray[i] != oldAction) continue;
    // Members are groups; an action that is not one cannot take a member's slot.
    BaseGroupClass* replacement = dynamic_cast<BaseGroupClass*>(newAction);
    TAVRIN_ASSERT(replacement != nullptr);
    GroupArray[i] = replacement;
  }
  if (SelectedAction == oldAction) SelectedAction = newAction;
}

void BaseGroupClass::enlargeArrays(int capacity) {
  TAVRIN_ASSERT(capacity > ArraySize);
  createArrays(capacity);
}

BaseGroupClass* BaseGroupClass::getMember(int i) const {
  TAVRIN_ASSERT(i >= 0);
  TAVRIN_ASSERT(i < NumActions);
  TAVRIN_ASSERT(GroupArray[i] != nullptr);
  return GroupArray[i];
}

void BaseGroupClass::Check() const {
  TAVRIN_ASSERT(NumActions > 0);
  TAVRIN_ASSERT(GroupArray != nullptr);
}

double BaseGroupClass::CalculateWeightDistribution() {
  TAVRIN_ASSERT(NumActions == 0 || GroupArray != nullptr);
  int i = 0;
  while (i < NumActions && !getMember(i)->Enabled()) GroupArray[i++]->Disabled = true;
  if (i == NumActions) {
    NumSelectableActions = 0;
    return -1.0;
  }
  BaseGroupClass* first = GroupArray[i];
  HighestRank = first->Rank();
  first->Disabled = false;
  ActionWeights[0] = {first->CheckedWeight(ActionName), first};
  int filled = 1;
  for (i++; i < NumActions; i++) {
    BaseGroupClass* member = getMember(i);
    if (!member->Enabled()) {
      member->Disabled = true;
      continue;
    }
    int rank = member->Rank();
    if (rank < HighestRank) {
      member->Disabled = true;
      continue;
    }
    if (rank > HighestRank) {
      // A higher rank outranks everything accepted so far: the table starts again.
      HighestRank = rank;
      filled = 0;
    }
    member->Disabled = false;
    double below = (filled == 0) ? 0.0 : ActionWeights[filled - 1].Weight;
    ActionWeights[filled++] = {below + member->CheckedWeight(ActionName), member};
  }
  NumSelectableActions = filled;
  double total = ActionWeights[filled - 1].Weight;
  // With no weight above 0 the draw would always land on the last member.
  if (!(total > 0.0)) NoPositiveWeight((ActionName + InstanceNote()).c_str());
  return total;
}

bool BaseGroupClass::SelectAction() {
  // The draw comes first, so a selection consumes one number whether or not a member is
  // enabled. The total is tested rather than u x total: a draw of exactly 0 would turn the
  // -1 of "nothing enabled" into -0, which is not below 0.
  double u = TheDistribution->RNG->rnd();
  double total = CalculateWeightDistribution();
  if (total < 0.0) return false;
  double r = u * total;
  int low = 0;
  int high = NumSelectableActions - 1;
  while (low < high) {
    int mid = (low + high) / 2;
    if (r < ActionWeights[mid].Weight)
      high = mid;
    else
      low = mid + 1;
  }
  BaseGroupClass* chosen = ActionWeights[low].AssociatedAction;
  chosen->SelectAction();
  SelectedAction = chosen->SelectedAction;
  return true;
}

void BaseGroupClass::setGroupId(int groupId) {
  for (int i = 0; i < NumActions; i++) getMember(i)->setGroupId(groupId);
}

bool BaseGroupClass::Enabled() {
  bool enabled = false;
  for (int i = 0; i < NumActions; i++) enabled = getMember(i)->Enabled() || enabled;
  return enabled;
}

bool BaseGroupClass::EnablingChange() {
  bool changed = false;
  for (int i = 0; i < NumActions; i++) changed = getMember(i)->EnablingChange() || changed;
  return changed;
}

BaseActionClass* BaseGroupClass::selected() const {
  TAVRIN_ASSERT(SelectedAction != nullptr);
  return SelectedAction;
}

double BaseGroupClass::Weight() { return selected()->Weight(); }
double BaseGroupClass::Rate() { return selected()->Rate(); }
int BaseGroupClass::Rank() { return selected()->Rank(); }
double BaseGroupClass::SampleDistribution() { return selected()->SampleDistribution(); }
bool BaseGroupClass::ReactivationPredicate() { return false; }
bool BaseGroupClass::ReactivationFunction() { return false; }

BaseActionClass* BaseGroupClass::Fire() {
  BaseActionClass* fired = selected()->Fire();
  SelectedAction = nullptr;
  return fired;
}

bool BaseGroupClass::IsAMember(BaseActionClass* action) {
  for (int i = 0; i < NumActions; i++)
    if (GroupArray[i] == action) return true;
  return false;
}

double BaseGroupClass::Probability(BaseActionClass* action) {
  TAVRIN_ASSERT(NumActions > 0);
  int highestRank = 0;
  double totalWeight = 0.0;
  BaseGroupClass* lastAtHighest = nullptr;
  BaseGroupClass* holder = nullptr;
  bool holderEnabled = false;
  for (int i = 0; i < NumActions; i++) {
    BaseGroupClass* member = getMember(i);
    bool enabled = member->Enabled();
    if (enabled) {
      int rank = member->Rank();
      if (rank > highestRank) {
        highestRank = rank;
        totalWeight = 0.0;
      }
      if (rank == highestRank) {
        totalWeight += member->Weight();
        lastAtHighest = member;
      }
    }
    if (member == action || member->IsAMember(action)) {
      holder = member;
      holderEnabled = enabled;
    }
  }
  // A member that is not enabled, or not in this group at all, is never selected.
  if (holder == nullptr || !holderEnabled || holder->Rank() < highestRank) return 0.0;
  if (totalWeight == 0.0) {
    std::cout << "BaseGroupClass::Probability() TotalWeight is zero.\n" << std::flush;
    // With every weight 0 the selection takes the last member at the highest rank.
    return (holder == lastAtHighest) ? holder->Probability(action) : 0.0;
  }
  return holder->Weight() / totalWeight * holder->Probability(action);
}

void BaseGroupClass::printEnablingState(std::ostream* out) {
  if (NumActions == 0)
    BaseActionClass::printEnablingState(out);
  else
    getMember(0)->printEnablingState(out);
}

BaseActionClass* BaseGroupClass::getPrintedAction() {
  return (NumActions == 0) ? this : getMember(0);
}

void BaseGroupClass::PrintInfo() {
  std::cout << "************ Group: " << ActionName << " ****************" << std::endl;
  std::cout << "Contains the following actions:" << std::endl;
  for (int i = 0; i < NumActions; i++) std::cout << "  " << getMember(i)->ActionName << std::endl;
  std::cout << "Selected Action = " << (SelectedAction ? SelectedAction->ActionName : "")
            << std::endl;
}

void BaseGroupClass::printGroup() {
  std::cout << "** Members of Group " << ActionName << std::endl;
  printGroup("", 0);
}

void BaseGroupClass::printGroup(const char* thePrefix, int indentSpace) {
  for (int j = 0; j < NumActions; j++) {
    BaseGroupClass* member = getMember(j);
    std::cout << std::string(indentSpace, ' ') << "[" << thePrefix << j << "] "
              << member->ActionName << std::endl;
    if (member->getNumMembers() > 1) {
      std::string nested = std::string(thePrefix) + std::to_string(j) + ".";
      member->printGroup(nested.c_str(), indentSpace + 2);
    }
  }
}
