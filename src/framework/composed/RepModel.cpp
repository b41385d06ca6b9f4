#include "framework/composed/RepModel.h"

#include <cstdlib>
#include <cstring>

#include "framework/BaseActionClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/san/SANModel.h"

RepModel::RepModel() {}

RepModel::RepModel(const char* name, int numReps, const ChildFactory& makeChild, int numShared,
                   const char* const* sharedNames) {
  initializeRepModelNow(name, numReps, makeChild, numShared, sharedNames);
}

void RepModel::initializeRepModelNow(const char* name, int numReps, const ChildFactory& makeChild,
                                     int numShared, const char* const* sharedNames) {
  DefineName(name);
  if (numReps < 1)
    fail("the number of copies must be at least 1, and it is " + std::to_string(numReps));
  if (numReps > MaxCopies)
    fail("the number of copies must be at most " + std::to_string(MaxCopies) + ", and it is " +
         std::to_string(numReps));
  std::vector<BaseModelClass*> copies;
  copies.reserve(static_cast<size_t>(numReps));
  for (int i = 0; i < numReps; i++) copies.push_back(makeChild());
  adoptChildren(name, copies);
  checkCopiesAlike();
  for (int s = 0; s < numShared; s++) shareAcrossCopies(sharedNames[s]);
}

bool RepModel::atomicCopies() const { return dynamic_cast<SANModel*>(Children[0]) != nullptr; }

void RepModel::checkCopiesAlike() {
  BaseModelClass* first = Children[0];
  for (size_t i = 1; i < Children.size(); i++) {
    BaseModelClass* copy = Children[i];
    bool alike = std::strcmp(copy->getName(), first->getName()) == 0 &&
                 copy->getNumActions() == first->getNumActions() &&
                 copy->getNumGroups() == first->getNumGroups() &&
                 copy->getNumStateVariables() == first->getNumStateVariables() &&
                 copy->GetModelType() == first->GetModelType();
    if (!alike)
      fail("copy " + std::to_string(i) + " (" + copy->getName() + ") is not the same model as copy 0 (" +
           first->getName() + ")");
  }
}

// The variable is found by name in copy 0 only; the same position holds it in every copy.
void RepModel::shareAcrossCopies(const char* placeName) {
  BaseStateVariableClass* first = findChildVariable(Children[0], placeName);
  if (first == nullptr)
    fail(std::string("the child ") + Children[0]->getName() + " has no place named " + placeName);
  int position = -1;
  BaseStateVariableClass** variables = nullptr;
  if (SANModel* san = dynamic_cast<SANModel*>(Children[0])) {
    variables = san->LocalStateVariables;
  } else {
    variables = Children[0]->GetSharedStateVariables();
  }
  while (variables[++position] != first) {
  }
  std::vector<BaseStateVariableClass*> members;
  members.reserve(Children.size());
  for (BaseModelClass* copy : Children) {
    BaseStateVariableClass** own = atomicCopies() ? static_cast<SANModel*>(copy)->LocalStateVariables
                                                  : copy->GetSharedStateVariables();
    BaseStateVariableClass* member = own[position];
    if (std::strcmp(member->getName(), placeName) != 0)
      fail(std::string("a copy of ") + copy->getName() + " has no place named " + placeName +
           " where copy 0 has it");
    members.push_back(member);
  }
  shareVariables(placeName, members, [&](size_t m) {
    return std::string(members[m]->getFullyQualifiedName());
  });
}

std::string RepModel::childComponent(int i) const {
  return std::string(Children[0]->getName()) + "[" + std::to_string(i) + "]";
}

int RepModel::childIndexOf(const std::string& component) const {
  std::string stem = std::string(Children[0]->getName()) + "[";
  if (component.size() < stem.size() + 2 || component.compare(0, stem.size(), stem) != 0 ||
      component.back() != ']')
    return -1;
  std::string digits = component.substr(stem.size(), component.size() - stem.size() - 1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
  if (digits.size() > 9) return -1;
  int index = std::atoi(digits.c_str());
  if (std::to_string(index) != digits) return -1;   // no leading zeros: one name per copy
  return index < static_cast<int>(Children.size()) ? index : -1;
}

void RepModel::listModels(const char* name, List<BaseModelClass>* models) {
  if (isQualified(name) || !atomicCopies()) {
    ComposedModel::listModels(name, models);
    return;
  }
  if (std::strcmp(name, Name) == 0) models->append(this);
  if (std::strcmp(name, Children[0]->getName()) != 0) return;
  for (BaseModelClass* copy : Children) models->append(copy);
}

void RepModel::listActions(const char* name, List<BaseActionClass>* actions) {
  if (std::strchr(name, '.') != nullptr || !atomicCopies()) {
    ComposedModel::listActions(name, actions);
    return;
  }
  BaseActionClass** first = Children[0]->getActionList();
  int position = 0;
  int count = Children[0]->getNumActions();
  while (position < count && std::strcmp(first[position]->ActionName, name) != 0) position++;
  if (position == count) return;
  for (BaseModelClass* copy : Children) actions->append(copy->getActionList()[position]);
}

void RepModel::listSVs(const char* modelName, const char* svName,
                       List<BaseStateVariableClass>* svContainer,
                       List<BaseModelClass>* modelContainer) {
  if (isQualified(modelName) || !atomicCopies() ||
      std::strcmp(modelName, Children[0]->getName()) != 0) {
    ComposedModel::listSVs(modelName, svName, svContainer, modelContainer);
    return;
  }
  // The copies' places of that name, in the order an atomic model lists them: its places,
  // then its read-only places.
  SANModel* first = static_cast<SANModel*>(Children[0]);
  std::vector<int> places;
  std::vector<int> readOnly;
  for (int i = 0; i < first->getNumLocalStateVariables(); i++)
    if (std::strcmp(first->LocalStateVariables[i]->getName(), svName) == 0) places.push_back(i);
  for (int i = 0; i < first->getNumReadOnlyPlaces(); i++)
    if (std::strcmp(first->ReadOnlyPlaces[i]->getName(), svName) == 0) readOnly.push_back(i);
  if (std::strcmp(modelName, Name) == 0) listOwnSVs(svName, svContainer, modelContainer);
  for (BaseModelClass* model : Children) {
    SANModel* copy = static_cast<SANModel*>(model);
    for (int i : places) {
      svContainer->append(copy->LocalStateVariables[i]);
      modelContainer->append(copy);
    }
    for (int i : readOnly) {
      svContainer->append(copy->ReadOnlyPlaces[i]);
      modelContainer->append(copy);
    }
  }
}
