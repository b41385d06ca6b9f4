#include "framework/BaseStateVariableClass.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "framework/BaseActionClass.h"

namespace {

// A variable without its name cannot be told apart from the others, so a failed copy
// ends the process like any other failed framework allocation.
char* copyText(const char* text) {
  if (text == nullptr) text = "";
  std::size_t length = std::strlen(text);
  char* copy = new (std::nothrow) char[length + 1];
  if (copy == nullptr) {
    std::cerr << "Not Enough Memory" << std::endl;
    std::exit(1);
  }
  std::memcpy(copy, text, length + 1);
  return copy;
}

List<BaseActionClass>* newActionList() {
  List<BaseActionClass>* list = new (std::nothrow) List<BaseActionClass>(10);
  if (list == nullptr) MemoryAllocationError();
  return list;
}

}  // namespace

BaseStateVariableClass::BaseStateVariableClass() : BaseStateVariableClass("default", "") {}

BaseStateVariableClass::BaseStateVariableClass(const char* name, const char* prefix)
    : StateVariableName(copyText(name)),
      VariableNamePrefix(copyText(prefix)),
      Shared(false),
      Stored(true),
      FunctionallyShared(false),
      SharingCount(0),
      SVAffectingActions(newActionList()),
      SVEnabledActions(newActionList()) {
  updateFullyQualifiedName();
}

BaseStateVariableClass::~BaseStateVariableClass() {
  delete[] StateVariableName;
  delete[] VariableNamePrefix;
  if (Stored) {
    delete SVAffectingActions;
    delete SVEnabledActions;
  }
}

void BaseStateVariableClass::SetName(const char* name) {
  char* copy = copyText(name);
  delete[] StateVariableName;
  StateVariableName = copy;
  updateFullyQualifiedName();
}

void BaseStateVariableClass::SetPrefix(const char* prefix) {
  char* copy = copyText(prefix);
  delete[] VariableNamePrefix;
  VariableNamePrefix = copy;
  updateFullyQualifiedName();
}

void BaseStateVariableClass::updateFullyQualifiedName() {
  FullyQualifiedName.clear();
  if (VariableNamePrefix[0] != '\0') {
    FullyQualifiedName += VariableNamePrefix;
    FullyQualifiedName += '.';
  }
  FullyQualifiedName += StateVariableName;
}

void BaseStateVariableClass::printState(std::ostream*) {}

void BaseStateVariableClass::printState() { printState(&std::cout); }

void BaseStateVariableClass::printStateVal(std::ostream*) {}

void BaseStateVariableClass::appendAffectingAction(BaseActionClass* a) {
  SVAffectingActions->append(a);
}

void BaseStateVariableClass::removeAffectingAction(BaseActionClass* a) {
  SVAffectingActions->remove(a);
}

void BaseStateVariableClass::replaceAffectingAction(BaseActionClass* oldAction,
                                                    BaseActionClass* newAction) {
  SVAffectingActions->replaceItem(oldAction, newAction);
}

void BaseStateVariableClass::copyAffectingActions(List<BaseActionClass>* actions) {
  for (int i = 0; i < actions->getNumItems(); i++) SVAffectingActions->append(actions->getItem(i));
}

int BaseStateVariableClass::getNumAffectingActions() const {
  return SVAffectingActions->getNumItems();
}

BaseActionClass* BaseStateVariableClass::getAffectingAction(int i) const {
  TAVRIN_ASSERT(i < SVAffectingActions->getNumItems());
  return SVAffectingActions->getItem(i);
}

void BaseStateVariableClass::printAffectingActions() const {
  std::cout << "Affecting actions for " << StateVariableName << ":" << std::endl;
  SVAffectingActions->printList();
}

void BaseStateVariableClass::appendEnabledAction(BaseActionClass* a) {
  SVEnabledActions->append(a);
}

void BaseStateVariableClass::removeEnabledAction(BaseActionClass* a) {
  SVEnabledActions->remove(a);
}

void BaseStateVariableClass::replaceEnabledAction(BaseActionClass* oldAction,
                                                  BaseActionClass* newAction) {
  SVEnabledActions->replaceItem(oldAction, newAction);
}

void BaseStateVariableClass::copyEnabledActions(List<BaseActionClass>* actions) {
  for (int i = 0; i < actions->getNumItems(); i++) SVEnabledActions->append(actions->getItem(i));
}

int BaseStateVariableClass::getNumEnabledActions() const {
  return SVEnabledActions->getNumItems();
}

BaseActionClass* BaseStateVariableClass::getEnabledAction(int i) const {
  TAVRIN_ASSERT(i < SVEnabledActions->getNumItems());
  return SVEnabledActions->getItem(i);
}

void BaseStateVariableClass::printEnabledActions() const {
  std::cout << "Enabled actions for " << StateVariableName << ":" << std::endl;
  SVEnabledActions->printList();
}

List<BaseStateVariableClass>* BaseStateVariableClass::getLeafNodes() {
  List<BaseStateVariableClass>* leaves = new (std::nothrow) List<BaseStateVariableClass>(1);
  if (leaves == nullptr) MemoryAllocationError();
  leaves->append(this);
  return leaves;
}

int BaseStateVariableClass::getNumLeafNodes() { return 1; }

bool BaseStateVariableClass::isLeafNode() { return true; }

void BaseStateVariableClass::addSelfAsEnablingSVToAction(BaseActionClass* a) {
  a->addEnablingSV(this);
}

void BaseStateVariableClass::addSelfAsAffectedSVToAction(BaseActionClass* a) {
  a->addAffectedSV(this);
}

void BaseStateVariableClass::removeSelfFromEnablingSVOfAction(BaseActionClass* a) {
  a->removeEnablingSV(this);
}

void BaseStateVariableClass::removeSelfFromAffectedSVOfAction(BaseActionClass* a) {
  a->removeAffectedSV(this);
}
