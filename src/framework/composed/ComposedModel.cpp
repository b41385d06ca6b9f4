#include "framework/composed/ComposedModel.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <unordered_map>

#include "framework/BaseActionClass.h"
#include "framework/BaseGroupClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/Errors.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

ComposedModel::ComposedModel() {}

ComposedModel::~ComposedModel() {
  // Members never free the value or the action lists, so the order does not matter.
  for (BaseModelClass* child : Children) delete child;
  for (List<BaseStateVariableClass>* members : SharedMembers) delete members;
  for (BaseStateVariableClass* variable : SharedVariables) delete variable;
}

void ComposedModel::fail(const std::string& text) const {
  std::cerr << "ERROR: Composed model " << (Name != nullptr ? Name : "(unnamed)") << ": " << text
            << std::endl;
  std::exit(1);
}

bool ComposedModel::isQualified(const char* name) {
  return std::strchr(name, '.') != nullptr || std::strchr(name, '[') != nullptr;
}

// ---- Assembly ----

void ComposedModel::adoptChildren(const char* name, const std::vector<BaseModelClass*>& children) {
  DefineName(name);
  if (children.empty()) fail("it has no child model");
  std::unordered_set<BaseModelClass*> seen;
  for (BaseModelClass* child : children) {
    if (child == nullptr) fail("a child model is missing");
    if (!seen.insert(child).second) fail(std::string("child ") + child->getName() + " is given twice");
    if (child->getId() <= Id)
      fail(std::string("child ") + child->getName() +
           " was built before the composed model; build the children in its constructor");
    if (child->getParentId() != child->getId())
      fail(std::string("child ") + child->getName() + " already belongs to another model");
    child->SetParentId(Id);
  }
  Children = children;

  NumActions = 0;
  NumGroups = 0;
  for (BaseModelClass* child : Children) {
    NumActions += child->getNumActions();
    NumGroups += child->getNumGroups();
  }
  ActionList = new (std::nothrow) BaseActionClass*[NumActions > 0 ? NumActions : 1];
  GroupList = new (std::nothrow) BaseGroupClass*[NumGroups > 0 ? NumGroups : 1];
  if (ActionList == nullptr || GroupList == nullptr) MemoryAllocationError();
  int actions = 0;
  int groups = 0;
  for (BaseModelClass* child : Children) {
    // An action's group index names its entry in the engine's group list, which is this
    // model's list: a child's indices move up by the groups listed before the child's.
    for (int a = 0; a < child->getNumActions(); a++) {
      BaseActionClass* action = child->getActionList()[a];
      if (action->getGroupId() < 0 || action->getGroupId() >= child->getNumGroups())
        fail(std::string("action ") + action->ActionName + " of " + child->getName() +
             " names no group of its model");
      action->setGroupID(action->getGroupId() + groups);
      ActionList[actions++] = action;
    }
    for (int g = 0; g < child->getNumGroups(); g++) GroupList[groups++] = child->getGroupList()[g];
  }
  setInstancePath(Name);
}

Place* ComposedModel::shareVariables(const char* name,
                                     const std::vector<BaseStateVariableClass*>& members,
                                     const std::function<std::string(size_t)>& memberName) {
  if (members.empty()) fail(std::string("shared variable ") + name + " joins no place");
  for (size_t m = 0; m < members.size(); m++) {
    if (dynamic_cast<SharableSV<short>*>(members[m]) == nullptr)
      fail("only places can be shared, and " + memberName(m) + " is not a place");
    if (!members[m]->getStored())
      fail(memberName(m) + " is shared twice (shared variable " + std::string(name) + ")");
  }
  short initial = static_cast<SharableSV<short>*>(members[0])->getState();
  Place* variable = new (std::nothrow) Place(name, initial);
  List<BaseStateVariableClass>* joined = new (std::nothrow) List<BaseStateVariableClass>(
      static_cast<int>(members.size()));
  if (variable == nullptr || joined == nullptr) MemoryAllocationError();
  for (BaseStateVariableClass* member : members) {
    variable->share(member);
    joined->append(member);
  }
  // Sharing copies each absorbed place's value in turn; the first place's is the one kept.
  variable->setState(initial);
  variable->SetPrefix(InstancePath.c_str());
  SharedVariables.push_back(variable);
  SharedMembers.push_back(joined);
  NumSharedStateVariables = static_cast<int>(SharedVariables.size());
  NumStateVariables = NumSharedStateVariables;
  return variable;
}

BaseStateVariableClass* ComposedModel::findChildVariable(BaseModelClass* child, const char* name) {
  if (ComposedModel* composed = dynamic_cast<ComposedModel*>(child)) {
    for (BaseStateVariableClass* variable : composed->SharedVariables)
      if (std::strcmp(variable->getName(), name) == 0) return variable;
    return nullptr;
  }
  SANModel* san = dynamic_cast<SANModel*>(child);
  if (san == nullptr) return nullptr;
  for (int i = 0; i < san->getNumLocalStateVariables(); i++)
    if (std::strcmp(san->LocalStateVariables[i]->getName(), name) == 0)
      return san->LocalStateVariables[i];
  return nullptr;
}

// ---- Names ----

void ComposedModel::renameAtomic(SANModel* model, const std::string& path) {
  for (int i = 0; i < model->getNumLocalStateVariables(); i++)
    model->LocalStateVariables[i]->SetPrefix(path.c_str());
  for (int i = 0; i < model->getNumReadOnlyPlaces(); i++)
    model->ReadOnlyPlaces[i]->SetPrefix(path.c_str());
}

void ComposedModel::setInstancePath(const std::string& path) {
  InstancePath = path;
  for (BaseStateVariableClass* variable : SharedVariables) variable->SetPrefix(path.c_str());
  for (size_t i = 0; i < Children.size(); i++) {
    std::string childPath = path + "." + childComponent(static_cast<int>(i));
    if (ComposedModel* composed = dynamic_cast<ComposedModel*>(Children[i]))
      composed->setInstancePath(childPath);
    else if (SANModel* san = dynamic_cast<SANModel*>(Children[i]))
      renameAtomic(san, childPath);
  }
}

std::string ComposedModel::instancePathOf(BaseModelClass* model) {
  if (ComposedModel* composed = dynamic_cast<ComposedModel*>(model)) return composed->InstancePath;
  SANModel* san = dynamic_cast<SANModel*>(model);
  if (san != nullptr && san->getNumLocalStateVariables() > 0 &&
      san->LocalStateVariables[0]->getPrefix()[0] != '\0')
    return san->LocalStateVariables[0]->getPrefix();
  return model->getName();
}

BaseModelClass* ComposedModel::findInstance(const char* path) {
  size_t length = InstancePath.size();
  if (std::strncmp(path, InstancePath.c_str(), length) != 0) return nullptr;
  if (path[length] == '\0') return this;
  if (path[length] != '.') return nullptr;
  const char* rest = path + length + 1;
  const char* end = std::strchr(rest, '.');
  std::string component = (end == nullptr) ? std::string(rest) : std::string(rest, end);
  int index = childIndexOf(component);
  if (index < 0) return nullptr;
  BaseModelClass* child = Children[static_cast<size_t>(index)];
  if (end == nullptr) return child;
  ComposedModel* composed = dynamic_cast<ComposedModel*>(child);
  return composed != nullptr ? composed->findInstance(path) : nullptr;
}

// ---- Lists ----

void ComposedModel::listModels(const char* name, List<BaseModelClass>* models) {
  if (isQualified(name)) {
    BaseModelClass* instance = findInstance(name);
    if (instance != nullptr) models->append(instance);
    return;
  }
  if (std::strcmp(name, Name) == 0) models->append(this);
  for (BaseModelClass* child : Children) child->listModels(name, models);
}

void ComposedModel::listActions(List<BaseActionClass>* actions) {
  for (int i = 0; i < NumActions; i++) actions->append(ActionList[i]);
}

void ComposedModel::listGroups(List<BaseGroupClass>* groups) {
  for (int i = 0; i < NumGroups; i++) groups->append(GroupList[i]);
}

// A qualified action name is an instance path, ".", and the action's name; an unqualified
// one names the action of that name in every atomic model of the tree.
void ComposedModel::listActions(const char* name, List<BaseActionClass>* actions) {
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) {
    for (BaseModelClass* child : Children) child->listActions(name, actions);
    return;
  }
  BaseModelClass* instance = findInstance(std::string(name, dot).c_str());
  if (instance != nullptr) instance->listActions(dot + 1, actions);
}

void ComposedModel::listSVs(const char* modelName, const char* svName,
                            List<BaseStateVariableClass>* svContainer,
                            List<BaseModelClass>* modelContainer) {
  if (isQualified(modelName)) {
    BaseModelClass* instance = findInstance(modelName);
    if (instance == nullptr) return;
    if (instance != this) {
      // An atomic instance answers to its own name; a composed one to its path.
      std::string own = (dynamic_cast<ComposedModel*>(instance) != nullptr)
                            ? instancePathOf(instance)
                            : std::string(instance->getName());
      instance->listSVs(own.c_str(), svName, svContainer, modelContainer);
      return;
    }
  }
  if (std::strcmp(modelName, Name) == 0 || InstancePath == modelName)
    listOwnSVs(svName, svContainer, modelContainer);
  if (isQualified(modelName)) return;
  for (BaseModelClass* child : Children) child->listSVs(modelName, svName, svContainer, modelContainer);
}

void ComposedModel::listOwnSVs(const char* svName, List<BaseStateVariableClass>* svContainer,
                               List<BaseModelClass>* modelContainer) {
  for (BaseStateVariableClass* variable : SharedVariables) {
    if (std::strcmp(variable->getName(), svName) != 0) continue;
    svContainer->append(variable);
    modelContainer->append(this);
  }
}

// ---- State vector ----

int ComposedModel::StateSize() {
  int size = 0;
  for (BaseStateVariableClass* variable : SharedVariables)
    if (variable->getStored()) size += variable->StateSize();
  for (BaseModelClass* child : Children) size += child->StateSize();
  return size;
}

void ComposedModel::CurrentState(void* at) {
  unsigned char* p = static_cast<unsigned char*>(at);
  for (BaseStateVariableClass* variable : SharedVariables) {
    if (!variable->getStored()) continue;
    variable->CurrentState(p);
    p += variable->StateSize();
  }
  for (BaseModelClass* child : Children) {
    child->CurrentState(p);
    p += child->StateSize();
  }
}

void ComposedModel::SetState(void* at) {
  unsigned char* p = static_cast<unsigned char*>(at);
  for (BaseStateVariableClass* variable : SharedVariables) {
    if (!variable->getStored()) continue;
    variable->SetState(p);
    p += variable->StateSize();
  }
  for (BaseModelClass* child : Children) {
    child->SetState(p);
    p += child->StateSize();
  }
}

bool ComposedModel::CompareState(void* a, void* b) {
  return std::memcmp(a, b, static_cast<size_t>(StateSize())) == 0;
}

void ComposedModel::printState(std::ostream* out) {
  *out << "Model: (" << Id << ")" << Name << std::endl;
  for (BaseStateVariableClass* variable : SharedVariables) {
    *out << "  ";
    variable->printState(out);
  }
  for (BaseModelClass* child : Children) child->printState(out);
}

// ---- Shared variables and children ----

BaseStateVariableClass** ComposedModel::GetLocalStateVariables(std::ostream*) { return nullptr; }

BaseStateVariableClass** ComposedModel::GetSharedStateVariables() {
  return SharedVariables.empty() ? nullptr : SharedVariables.data();
}

BaseStateVariableClass* ComposedModel::getMainSharedVariable(BaseStateVariableClass* sv) {
  for (size_t v = 0; v < SharedVariables.size(); v++)
    if (SharedVariables[v] == sv || SharedMembers[v]->contains(sv)) return SharedVariables[v];
  return nullptr;
}

List<BaseStateVariableClass>* ComposedModel::getListOfSharedVariables(BaseStateVariableClass* sv) {
  for (size_t v = 0; v < SharedVariables.size(); v++)
    if (SharedVariables[v] == sv || SharedMembers[v]->contains(sv)) return SharedMembers[v];
  return nullptr;
}

int ComposedModel::GetNumberOfChildren() { return static_cast<int>(Children.size()); }

BaseModelClass* ComposedModel::GetChild(int i) {
  TAVRIN_ASSERT(i >= 0 && i < static_cast<int>(Children.size()));
  return Children[static_cast<size_t>(i)];
}

void ComposedModel::collectHeldVariables(std::unordered_set<BaseStateVariableClass*>& held) {
  for (BaseStateVariableClass* variable : SharedVariables)
    if (variable->getStored()) held.insert(variable);
  for (BaseModelClass* child : Children) {
    if (ComposedModel* composed = dynamic_cast<ComposedModel*>(child)) {
      composed->collectHeldVariables(held);
    } else if (SANModel* san = dynamic_cast<SANModel*>(child)) {
      for (int i = 0; i < san->getNumLocalStateVariables(); i++)
        if (san->LocalStateVariables[i]->getStored()) held.insert(san->LocalStateVariables[i]);
    }
  }
}

// Global actions read or write a variable whose value a model outside this one holds; the
// others are local. Both lists keep the order of the action list.
void ComposedModel::GetGlobalActions(std::forward_list<BaseActionClass*>& actions) {
  std::unordered_set<BaseStateVariableClass*> held;
  collectHeldVariables(held);
  for (int a = NumActions - 1; a >= 0; a--) {
    BaseActionClass* action = ActionList[a];
    bool global = false;
    for (int i = 0; i < action->getNumAffectedSVs() && !global; i++)
      global = held.count(action->getAffectedSV(i)) == 0;
    for (int i = 0; i < action->getNumEnablingSVs() && !global; i++)
      global = held.count(action->getEnablingSV(i)) == 0;
    if (global) actions.push_front(action);
  }
}

void ComposedModel::GetLocalActions(std::forward_list<BaseActionClass*>& actions) {
  std::forward_list<BaseActionClass*> global;
  GetGlobalActions(global);
  std::unordered_set<BaseActionClass*> globalSet(global.begin(), global.end());
  for (int a = NumActions - 1; a >= 0; a--)
    if (globalSet.count(ActionList[a]) == 0) actions.push_front(ActionList[a]);
}

void ComposedModel::GetLocalState(State* state) { state->GetState(this); }

void ComposedModel::SetLocalState(const State* state) { const_cast<State*>(state)->SetState(this); }

void ComposedModel::ConstructLocalState(State*& state) { state = new SANModel::LocalState(this); }

void ComposedModel::DestructLocalState(State* state) { delete state; }
