#ifndef TAVRIN_FRAMEWORK_STATE_SHARABLESV_H
#define TAVRIN_FRAMEWORK_STATE_SHARABLESV_H

#include <iosfwd>

#include "framework/BaseStateVariableClass.h"
#include "framework/state/SharedPointer.h"

// SharableSV: a scalar state variable whose value can be shared with variables of other
// models. Variables that share one value form a group: the leader holds the value and the
// action lists, and its pointer chain reaches every pointer of every member that must
// follow the value. Instantiated for short (the marking of a place).
template <class T>
class SharableSV : public BaseStateVariableClass {
 public:
  SharableSV();
  SharableSV(const char* name, const char* prefix);
  ~SharableSV() override;

  int StateSize() override { return static_cast<int>(sizeof(T)); }
  void CurrentState(void* at) override;
  void SetState(void* at) override;
  T getState() const { return *TheState; }
  void setState(T value) { *TheState = value; }

  using BaseStateVariableClass::printState;
  void printState(std::ostream* s) override;
  void printStateVal(std::ostream* s) override;

  // Points *p at the value storage and keeps it there when sharing moves the value.
  void Register(T** p);
  void registerMyself();
  // Moves the value storage to loc and re-points every pointer of the chain at it.
  void setPointer(T* loc);

  void appendAffectingAction(BaseActionClass* a) override;

  void share(BaseStateVariableClass* other) override;
  void ShareWith(SharableSV* other);
  // Absorbs a variable that still holds its own value (and all the members of its group)
  // into this variable's group; this variable must lead its group.
  void Register(SharableSV* absorbed);

  SharableSV* getLeader() const { return Leader; }
  void setLeader(SharableSV* leader) { Leader = leader; }
  SharedPointer<T>* getHead() const { return Head; }
  void setHeadToNull() { Head = nullptr; }

 protected:
  T* TheState;             // owned while Stored; otherwise the leader's storage
  SharedPointer<T>* Head;  // owned: the chain, each element freed by the destructor
  SharableSV* Leader;      // not owned: the group member that holds the value

 private:
  void pushElement(T** p, BaseStateVariableClass* owner);
  void takeActionListsOf(SharableSV* absorbed);
  void adoptChainOf(SharableSV* absorbed);
};

extern template class SharableSV<short>;

#endif
