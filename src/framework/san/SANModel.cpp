#include "framework/san/SANModel.h"

#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <set>

#include "framework/BaseActionClass.h"
#include "framework/BaseGroupClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/Errors.h"
#include "framework/Primes.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"

namespace {
template <class T>
T** newArray(int n) {
  T** array = new (std::nothrow) T*[n > 0 ? n : 1]();
  if (array == nullptr) MemoryAllocationError();
  return array;
}
}  // namespace

SANModel::SANModel() : LocalStateVariables(nullptr), ReadOnlyPlaces(nullptr), NumReadOnlyPlaces(0) {}

SANModel::SANModel(const char* name, int nPlaces, BaseStateVariableClass** places, int nReadOnly,
                   BaseStateVariableClass** readOnly, int nActivities, Activity** activities,
                   int nGroups, BaseGroupClass** groups)
    : SANModel() {
  initializeSANModelNow(name, nPlaces, places, nReadOnly, readOnly, nActivities, activities,
                        nGroups, groups);
}

SANModel::~SANModel() {
  delete[] LocalStateVariables;
  delete[] ReadOnlyPlaces;
}

void SANModel::initializeSANModelNow(const char* name, int nPlaces,
                                     BaseStateVariableClass** places, int nReadOnly,
                                     BaseStateVariableClass** readOnly, int nActivities,
                                     Activity** activities, int nGroups,
                                     BaseGroupClass** groups) {
  DefineName(name);
  NumStateVariables = nPlaces + nReadOnly;
  NumReadOnlyPlaces = nReadOnly;
  NumActions = nActivities;
  NumGroups = nGroups;
  NumSharedStateVariables = 0;
  SetPlaces(nPlaces, places);
  SetReadOnlyPlaces(nReadOnly, readOnly);
  SetActions(nActivities, activities);
  SetGroups(nGroups, groups);
}

// Each setter copies the caller's array; a missing array or element is a generator fault.
void SANModel::SetPlaces(int n, BaseStateVariableClass** places) {
  TAVRIN_ASSERT(n == 0 || places != nullptr);
  delete[] LocalStateVariables;
  LocalStateVariables = newArray<BaseStateVariableClass>(n);
  for (int i = 0; i < n; i++) {
    TAVRIN_ASSERT(places[i] != nullptr);
    LocalStateVariables[i] = places[i];
  }
}

void SANModel::SetReadOnlyPlaces(int n, BaseStateVariableClass** readOnly) {
  TAVRIN_ASSERT(n == 0 || readOnly != nullptr);
  delete[] ReadOnlyPlaces;
  ReadOnlyPlaces = newArray<BaseStateVariableClass>(n);
  for (int i = 0; i < n; i++) {
    TAVRIN_ASSERT(readOnly[i] != nullptr);
    ReadOnlyPlaces[i] = readOnly[i];
  }
}

void SANModel::SetActions(int n, Activity** activities) {
  TAVRIN_ASSERT(n == 0 || activities != nullptr);
  delete[] ActionList;
  ActionList = newArray<BaseActionClass>(n);
  for (int i = 0; i < n; i++) {
    TAVRIN_ASSERT(activities[i] != nullptr);
    ActionList[i] = activities[i];
    activities[i]->TheModel = this;
  }
}

void SANModel::SetGroups(int n, BaseGroupClass** groups) {
  TAVRIN_ASSERT(n == 0 || groups != nullptr);
  delete[] GroupList;
  GroupList = newArray<BaseGroupClass>(n);
  for (int i = 0; i < n; i++) {
    TAVRIN_ASSERT(groups[i] != nullptr);
    GroupList[i] = groups[i];
    groups[i]->TheModel = this;
  }
}

void SANModel::listModels(const char* name, List<BaseModelClass>* models) {
  if (std::strcmp(name, Name) == 0) models->append(this);
}

void SANModel::listActions(List<BaseActionClass>* actions) {
  for (int i = 0; i < NumActions; i++) actions->append(ActionList[i]);
}

void SANModel::listActions(const char* name, List<BaseActionClass>* actions) {
  for (int i = 0; i < NumActions; i++) {
    if (std::strcmp(ActionList[i]->ActionName, name) == 0) {
      actions->append(ActionList[i]);
      return;
    }
  }
}

void SANModel::listGroups(List<BaseGroupClass>* groups) {
  for (int i = 0; i < NumGroups; i++) groups->append(GroupList[i]);
}

void SANModel::listSVs(const char* modelName, const char* svName,
                       List<BaseStateVariableClass>* svContainer,
                       List<BaseModelClass>* modelContainer) {
  if (std::strcmp(modelName, Name) != 0) return;
  auto collect = [&](BaseStateVariableClass* sv) {
    if (std::strcmp(sv->getName(), svName) != 0) return;
    svContainer->append(sv);
    modelContainer->append(this);
  };
  for (int i = 0; i < getNumLocalStateVariables(); i++) collect(LocalStateVariables[i]);
  for (int i = 0; i < NumReadOnlyPlaces; i++) collect(ReadOnlyPlaces[i]);
}

int SANModel::StateSize() {
  int size = 0;
  for (int i = 0; i < getNumLocalStateVariables(); i++)
    if (LocalStateVariables[i]->getStored()) size += LocalStateVariables[i]->StateSize();
  return size;
}

void SANModel::CurrentState(void* at) {
  unsigned char* p = static_cast<unsigned char*>(at);
  for (int i = 0; i < getNumLocalStateVariables(); i++) {
    BaseStateVariableClass* sv = LocalStateVariables[i];
    if (sv->getShared()) continue;
    sv->CurrentState(p);
    p += sv->StateSize();
  }
}

void SANModel::SetState(void* at) {
  unsigned char* p = static_cast<unsigned char*>(at);
  for (int i = 0; i < getNumLocalStateVariables(); i++) {
    BaseStateVariableClass* sv = LocalStateVariables[i];
    if (sv->getShared()) continue;
    sv->SetState(p);
    p += sv->StateSize();
  }
}

bool SANModel::CompareState(void* a, void* b) {
  return std::memcmp(a, b, static_cast<size_t>(StateSize())) == 0;
}

void SANModel::printState(std::ostream* out) {
  *out << "Model: (" << Id << ")" << Name << std::endl;
  for (int i = 0; i < getNumLocalStateVariables(); i++) {
    *out << "  ";
    LocalStateVariables[i]->printState(out);
  }
  for (int i = 0; i < NumReadOnlyPlaces; i++) {
    *out << "  ";
    ReadOnlyPlaces[i]->printState(out);
  }
}

void SANModel::PrintSANModelInfo() {
  std::printf("SANModelInfo\n");
  std::printf("Number of Actions = %i, Number of Groups = %i, Number of State Variables = %i\n",
              NumActions, NumGroups, NumStateVariables);
  for (int i = 0; i < NumActions; i++) {
    BaseActionClass* a = ActionList[i];
    std::printf("ActionName = %s\n", a->ActionName);
    std::printf("Group Id = %i\n", a->getGroupId());
    std::printf("DistributionType = %i\n", static_cast<int>(a->DistributionType));
    std::printf("ExecutionPolicy = %i\n", static_cast<int>(a->ExecutionPolicy));
    std::printf("Number of affected state variables = %i\n", a->getNumAffectedSVs());
    std::printf("Number of enabling state variables = %i\n", a->getNumEnablingSVs());
  }
  std::printf("\n");
  for (int i = 0; i < NumGroups; i++) std::printf("Group Name = %s \n", GroupList[i]->ActionName);
  for (int i = 0; i < getNumLocalStateVariables(); i++)
    std::printf("Place Name = %s\n", LocalStateVariables[i]->getName());
  for (int i = 0; i < NumReadOnlyPlaces; i++)
    std::printf("Read Only Place Name = %s\n", ReadOnlyPlaces[i]->getName());
  std::fflush(stdout);
}

BaseStateVariableClass** SANModel::GetLocalStateVariables(std::ostream*) {
  return LocalStateVariables;
}

BaseModelClass* SANModel::GetChild(int) {
  assert(!"an atomic model has no children");
  std::abort();
}

void SANModel::GetGlobalActions(std::forward_list<BaseActionClass*>& actions) {
  std::set<BaseActionClass*> own(ActionList, ActionList + NumActions);
  // Actions that touch a variable whose value another model holds.
  std::set<BaseActionClass*> touching;
  for (int i = 0; i < getNumLocalStateVariables(); i++) {
    BaseStateVariableClass* sv = LocalStateVariables[i];
    if (sv->getStored()) continue;
    for (int j = 0; j < sv->getNumAffectingActions(); j++) touching.insert(sv->getAffectingAction(j));
    for (int j = 0; j < sv->getNumEnabledActions(); j++) touching.insert(sv->getEnabledAction(j));
  }
  for (BaseActionClass* action : touching)
    if (own.count(action) != 0) actions.push_front(action);
}

void SANModel::GetLocalActions(std::forward_list<BaseActionClass*>& actions) {
  std::forward_list<BaseActionClass*> global;
  GetGlobalActions(global);
  std::set<BaseActionClass*> globalSet(global.begin(), global.end());
  for (int i = 0; i < NumActions; i++)
    if (globalSet.count(ActionList[i]) == 0) actions.push_front(ActionList[i]);
}

void SANModel::GetLocalState(State* state) { state->GetState(this); }

// Restoring reads the saved bytes only; the state object itself is not changed.
void SANModel::SetLocalState(const State* state) { const_cast<State*>(state)->SetState(this); }

void SANModel::ConstructLocalState(State*& state) { state = new LocalState(this); }

void SANModel::DestructLocalState(State* state) { delete state; }

bool checkLocalSVs(SANModel* model, Place** places) {
  for (int i = 0; i < model->getNumLocalStateVariables(); i++)
    if (model->LocalStateVariables[i] != places[i]) return false;
  return true;
}

bool checkReadOnlyPlaces(SANModel* model, BaseStateVariableClass** readOnly) {
  for (int i = 0; i < model->getNumReadOnlyPlaces(); i++)
    if (model->ReadOnlyPlaces[i] != readOnly[i]) return false;
  return true;
}

bool checkLocalActions(SANModel* model, Activity** activities) {
  for (int i = 0; i < model->getNumActions(); i++)
    if (model->getActionList()[i] != activities[i]) return false;
  return true;
}

SANModel::LocalState::LocalState(BaseModelClass* model) : state(nullptr), size(model->StateSize()) {
  state = new (std::nothrow) unsigned char[size > 0 ? size : 1]();
  if (state == nullptr) MemoryAllocationError();
}

SANModel::LocalState::~LocalState() { delete[] state; }

SANModel::LocalState& SANModel::LocalState::operator=(const LocalState& other) {
  *this = static_cast<const State&>(other);
  return *this;
}

State& SANModel::LocalState::operator=(const State& other) {
  if (&other == this) return *this;
  const LocalState& source = dynamic_cast<const LocalState&>(other);
  assert(source.size == size);
  std::memcpy(state, source.state, static_cast<size_t>(size));
  return *this;
}

int SANModel::LocalState::hash() const {
  uint32_t sum = 0;
  for (int i = 0; i < size; i++) {
    int32_t byte = static_cast<signed char>(state[i]);
    sum += static_cast<uint32_t>(byte) * static_cast<uint32_t>(primes[i % 256]);
  }
  return static_cast<int>(sum);
}

int SANModel::LocalState::compare(const State& other) const {
  const LocalState& that = dynamic_cast<const LocalState&>(other);
  if (that.size != size) return 1;
  return std::memcmp(state, that.state, static_cast<size_t>(size));
}

void SANModel::LocalState::print() const {
  for (int i = 0; i < size; i++) std::printf("%5d", static_cast<signed char>(state[i]));
  std::printf("\n");
  std::fflush(stdout);
}

int SANModel::LocalState::fwriteState(FILE* file) {
  int32_t stored = size;
  if (std::fwrite(&stored, sizeof stored, 1, file) != 1) return 1;
  size_t written = std::fwrite(state, 1, static_cast<size_t>(size), file);
  return (written < static_cast<size_t>(size)) ? 1 : 0;
}

int SANModel::LocalState::freadState(FILE* file) {
  int32_t stored = 0;
  if (std::fread(&stored, sizeof stored, 1, file) != 1) return 1;
  if (stored != size) return 1;
  size_t read = std::fread(state, 1, static_cast<size_t>(size), file);
  return (read < static_cast<size_t>(size)) ? 1 : 0;
}

void SANModel::LocalState::SetState(const BaseModelClass* model) {
  const_cast<BaseModelClass*>(model)->SetState(state);
}

void SANModel::LocalState::GetState(const BaseModelClass* model) {
  const_cast<BaseModelClass*>(model)->CurrentState(state);
}
