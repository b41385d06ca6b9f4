#ifndef TAVRIN_FRAMEWORK_BASEGROUPCLASS_H
#define TAVRIN_FRAMEWORK_BASEGROUPCLASS_H

#include <iosfwd>

#include "framework/BaseActionClass.h"

class BaseGroupClass;

// GroupWeight: one row of a group's cumulative weight table.
struct GroupWeight {
  double Weight;                      // cumulative weight up to and including this member
  BaseGroupClass* AssociatedAction;   // not owned: the member that ends at this weight
};

// BaseGroupClass: several actions sharing one scheduling slot. The engine asks the group
// whether it is enabled, when it completes and what it does; the group answers for one
// selected member, chosen by rank first and then by weight with one uniform draw. Members
// are groups themselves (an activity is a group of one), so groups nest, and the selected
// action is always a leaf activity.
class BaseGroupClass : public BaseActionClass {
 public:
  BaseGroupClass();
  BaseGroupClass(const char* name, int groupId, Distribution distribution,
                 ExecutionPolicyType policy, int numAffected, int numEnabling, bool reactivation);
  BaseGroupClass(const char* name, int groupId, Distribution distribution,
                 ExecutionPolicyType policy, int numAffected, int numEnabling, bool reactivation,
                 int capacity);
  ~BaseGroupClass() override;

  void BaseGroupClassInitialize(const char* name, int groupId, Distribution distribution,
                                ExecutionPolicyType policy, int numAffected, int numEnabling,
                                bool reactivation);
  void initialize(int capacity, const char* name);

  void appendGroup(BaseGroupClass* member);
  void appendMembers(BaseGroupClass* group);   // g's members, not g itself
  void setMember(BaseGroupClass* member, int i);
  void replaceMember(BaseActionClass* oldAction, BaseActionClass* newAction);
  void enlargeArrays(int capacity);
  int getNumMembers() const { return NumActions; }
  BaseGroupClass* getMember(int i) const;
  void Check() const;

  // Fills ActionWeights with the cumulative weights of the highest-ranked enabled members
  // and returns their total, or -1 when no member is enabled. A weight that is negative or
  // not finite, or a total of 0, ends the run with a message naming the group.
  double CalculateWeightDistribution();

  bool Enabled() override;
  double Weight() override;
  double Rate() override;
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  double SampleDistribution() override;
  BaseActionClass* Fire() override;
  int Rank() override;
  bool EnablingChange() override;
  bool IsAMember(BaseActionClass* action) override;   // direct members only
  double Probability(BaseActionClass* action) override;
  void printEnablingState(std::ostream* out) override;
  BaseActionClass* getPrintedAction() override;

  virtual bool SelectAction();
  virtual void setGroupId(int groupId);

  void PrintInfo();
  void printGroup();
  void printGroup(const char* thePrefix, int indentSpace);

  BaseGroupClass** GroupArray;    // owned array; the members are not owned
  BaseActionClass* SelectedAction;   // not owned: the chosen leaf activity, or null
  GroupWeight* ActionWeights;     // owned array, ArraySize slots
  int HighestRank;
  int NumActions;
  int NumSelectableActions;
  int ArraySize;

 protected:
  BaseActionClass* selected() const;   // SelectedAction, which must be set

 private:
  void createArrays(int capacity);
};

#endif
