#include "framework/BaseModelClass.h"

#include <cassert>
#include <cstring>
#include <iostream>
#include <new>

#include "framework/BaseActionClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/Errors.h"

double BaseModelClass::LastActionTime = 0.0;

namespace {
// Model identifiers are handed out in construction order, from 1.
int nextModelId() {
  static int modelCount = 0;
  return ++modelCount;
}

// The operations a model kind does not supply end the process when called on it.
[[noreturn]] void notSupplied() {
  assert(!"operation not supplied by this kind of model");
  std::abort();
}
}  // namespace

BaseModelClass::BaseModelClass()
    : NumStateVariables(0),
      NumSharedStateVariables(0),
      NumActions(0),
      NumGroups(0),
      GroupList(nullptr),
      Name(nullptr),
      Id(nextModelId()),
      ParentId(Id),
      NumPVs(0),
      ActionList(nullptr) {}

BaseModelClass::~BaseModelClass() {
  delete[] GroupList;
  delete[] ActionList;
  delete[] Name;
}

void BaseModelClass::DefineName(const char* name) {
  char* copy = new (std::nothrow) char[std::strlen(name) + 1];
  if (copy == nullptr) MemoryAllocationError();
  std::strcpy(copy, name);
  delete[] Name;
  Name = copy;
}

int BaseModelClass::getNumStateVariables() { return NumStateVariables; }
void BaseModelClass::printState(std::ostream*) {}
void BaseModelClass::printState() { printState(&std::cout); }
BaseStateVariableClass** BaseModelClass::GetLocalStateVariables(std::ostream*) { return nullptr; }
BaseStateVariableClass** BaseModelClass::GetSharedStateVariables() { return nullptr; }
BaseStateVariableClass* BaseModelClass::getMainSharedVariable(BaseStateVariableClass*) {
  return nullptr;
}
List<BaseStateVariableClass>* BaseModelClass::getListOfSharedVariables(BaseStateVariableClass*) {
  return nullptr;
}

void BaseModelClass::AddAffectArc(BaseStateVariableClass* sv, BaseActionClass* action) {
  sv->appendAffectingAction(action);
  action->addAffectedSV(sv);
}

void BaseModelClass::AddEnableArc(BaseStateVariableClass* sv, BaseActionClass* action) {
  sv->appendEnabledAction(action);
  action->addEnablingSV(sv);
}

BaseModelClass::ModelType BaseModelClass::GetModelType() { notSupplied(); }
int BaseModelClass::GetNumberOfChildren() { notSupplied(); }
BaseModelClass* BaseModelClass::GetChild(int) { notSupplied(); }
void BaseModelClass::GetLocalActions(std::forward_list<BaseActionClass*>&) { notSupplied(); }
void BaseModelClass::GetGlobalActions(std::forward_list<BaseActionClass*>&) { notSupplied(); }
bool BaseModelClass::HasLocalState() { notSupplied(); }
void BaseModelClass::GetLocalState(State*) { notSupplied(); }
void BaseModelClass::SetLocalState(const State*) { notSupplied(); }
void BaseModelClass::ConstructLocalState(State*&) { notSupplied(); }
void BaseModelClass::DestructLocalState(State*) { notSupplied(); }
