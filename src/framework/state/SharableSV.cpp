#include "framework/state/SharableSV.h"

#include <cassert>
#include <iostream>
#include <new>
#include <vector>

#include "framework/BaseActionClass.h"
#include "framework/Errors.h"
#include "framework/state/ByteCopy.h"

template <class T>
SharableSV<T>::SharableSV() : SharableSV("default", "") {}

template <class T>
SharableSV<T>::SharableSV(const char* name, const char* prefix)
    : BaseStateVariableClass(name, prefix), TheState(nullptr), Head(nullptr), Leader(this) {
  TheState = new (std::nothrow) T(0);
  if (TheState == nullptr) MemoryAllocationError();
  registerMyself();
}

template <class T>
SharableSV<T>::~SharableSV() {
  if (Stored) delete TheState;
  while (Head != nullptr) {
    SharedPointer<T>* next = Head->getNeighbor();
    delete Head;
    Head = next;
  }
}

template <class T>
void SharableSV<T>::CurrentState(void* at) {
  writeMemory(at, *TheState);
}

template <class T>
void SharableSV<T>::SetState(void* at) {
  readMemory2(at, TheState);
}

template <class T>
void SharableSV<T>::printState(std::ostream* s) {
  // Unary plus prints a narrow integer type as a number, not as a character.
  *s << StateVariableName << " = " << +*TheState << std::endl;
}

template <class T>
void SharableSV<T>::printStateVal(std::ostream* s) {
  *s << +*TheState;
}

template <class T>
void SharableSV<T>::pushElement(T** p, BaseStateVariableClass* owner) {
  SharedPointer<T>* element = new (std::nothrow) SharedPointer<T>;
  if (element == nullptr) MemoryAllocationError();
  element->setPointer(p);
  element->setOwner(owner);
  element->setNeighbor(Head);
  Head = element;
  SharingCount++;
}

template <class T>
void SharableSV<T>::Register(T** p) {
  TAVRIN_ASSERT(TheState != nullptr);
  *p = TheState;
  // A member's chain is empty once it joined a group: only the leader's chain is walked
  // when the value moves again, so the pointer must be kept there.
  if (Leader != this) {
    Leader->Register(p);
    return;
  }
  pushElement(p, nullptr);
}

template <class T>
void SharableSV<T>::registerMyself() {
  pushElement(&TheState, this);
  assert(Head->getOwner() != nullptr);
}

template <class T>
void SharableSV<T>::setPointer(T* loc) {
  TheState = loc;
  for (SharedPointer<T>* e = Head; e != nullptr; e = e->getNeighbor()) e->changePointer(loc);
}

template <class T>
void SharableSV<T>::appendAffectingAction(BaseActionClass* a) {
  if (Leader != this) {
    Leader->appendAffectingAction(a);
    return;
  }
  for (SharedPointer<T>* e = Head; e != nullptr; e = e->getNeighbor())
    if (e->getOwner() != nullptr) e->getOwner()->BaseStateVariableClass::appendAffectingAction(a);
}

template <class T>
void SharableSV<T>::share(BaseStateVariableClass* other) {
  SharableSV* scalar = dynamic_cast<SharableSV*>(other);
  assert(scalar != nullptr);
  ShareWith(scalar);
}

template <class T>
void SharableSV<T>::ShareWith(SharableSV* other) {
  if (Leader == other->Leader) return;  // one group already (or the variable itself)
  // Only the actions that name other can need the leader in its place. Registration hands
  // other the merged lists of the whole group, so they are taken before it: walking the
  // merged lists would make sharing one place among n variables cost O(n^2).
  std::vector<BaseActionClass*> affecting(other->getAffectingActions()->getList(),
                                          other->getAffectingActions()->getList() +
                                              other->getNumAffectingActions());
  std::vector<BaseActionClass*> enabled(other->getEnabledActions()->getList(),
                                        other->getEnabledActions()->getList() +
                                            other->getNumEnabledActions());
  if (Stored && other->Stored) {
    Shared = true;
    *TheState = *other->TheState;
    Register(other);
  } else if (!Stored && other->Stored) {
    Leader->Register(other);
  } else if (Stored && !other->Stored) {
    other->Leader->Register(this);
  } else if (other->Leader->SharingCount > Leader->SharingCount) {
    // Two groups: the one with more registered pointers keeps its leader, so fewer
    // pointers move. On a tie this variable's group keeps its leader.
    other->Leader->Register(Leader);
  } else {
    Leader->Register(other->Leader);
  }
  for (BaseActionClass* action : affecting) action->replaceAffectedSV(other, Leader);
  for (BaseActionClass* action : enabled) action->replaceEnablingSV(other, Leader);
}

template <class T>
void SharableSV<T>::Register(SharableSV* absorbed) {
  TAVRIN_ASSERT(Stored);
  TAVRIN_ASSERT(absorbed->Stored);
  TAVRIN_ASSERT(absorbed != this);
  delete absorbed->TheState;
  // Every member of the absorbed group follows the new leader, not only the absorbed
  // variable: a member that kept its old leader would register later pointers in a
  // chain nobody walks.
  for (SharedPointer<T>* e = absorbed->Head; e != nullptr; e = e->getNeighbor())
    if (e->getOwner() != nullptr) static_cast<SharableSV*>(e->getOwner())->Leader = this;
  absorbed->setPointer(TheState);
  absorbed->Shared = true;
  absorbed->Stored = false;
  takeActionListsOf(absorbed);
  adoptChainOf(absorbed);
}

template <class T>
void SharableSV<T>::takeActionListsOf(SharableSV* absorbed) {
  assert(absorbed->SVAffectingActions != nullptr);
  assert(absorbed->SVEnabledActions != nullptr);
  SVAffectingActions->append(absorbed->SVAffectingActions);
  SVEnabledActions->append(absorbed->SVEnabledActions);
  delete absorbed->SVAffectingActions;
  delete absorbed->SVEnabledActions;
  assert(absorbed->Head != nullptr);
  for (SharedPointer<T>* e = absorbed->Head; e != nullptr; e = e->getNeighbor()) {
    if (e->getOwner() == nullptr) continue;
    e->getOwner()->setAffectingActions(SVAffectingActions);
    e->getOwner()->setEnabledActions(SVEnabledActions);
  }
}

template <class T>
void SharableSV<T>::adoptChainOf(SharableSV* absorbed) {
  SharedPointer<T>* tail = absorbed->Head;
  while (tail->getNeighbor() != nullptr) tail = tail->getNeighbor();
  tail->setNeighbor(Head);
  Head = absorbed->Head;
  SharingCount += absorbed->SharingCount;
  absorbed->setHeadToNull();
}

template class SharableSV<short>;
