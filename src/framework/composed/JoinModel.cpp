#include "framework/composed/JoinModel.h"

#include <unordered_map>

#include "framework/BaseStateVariableClass.h"

JoinModel::JoinModel() {}

void JoinModel::initializeJoinModelNow(const char* name, int numChildren,
                                       BaseModelClass** children, int numShared,
                                       const JoinSharedVariable* shared) {
  DefineName(name);
  std::vector<BaseModelClass*> adopted;
  for (int i = 0; i < numChildren; i++) adopted.push_back(children[i]);
  // The components must exist before the children are named after them.
  Children = adopted;
  nameChildren();
  Children.clear();
  adoptChildren(name, adopted);
  for (int s = 0; s < numShared; s++) join(shared[s]);
}

void JoinModel::nameChildren() {
  std::unordered_map<std::string, int> count;
  for (BaseModelClass* child : Children)
    if (child != nullptr) count[child->getName()]++;
  std::unordered_map<std::string, int> seen;
  Components.clear();
  for (BaseModelClass* child : Children) {
    if (child == nullptr) {
      Components.emplace_back();
      continue;
    }
    std::string childName = child->getName();
    int k = seen[childName]++;
    Components.push_back(count[childName] > 1 ? childName + "[" + std::to_string(k) + "]"
                                              : childName);
  }
}

void JoinModel::join(const JoinSharedVariable& shared) {
  std::vector<BaseStateVariableClass*> members;
  std::vector<std::string> names;
  std::vector<bool> used(Children.size(), false);
  for (int p = 0; p < shared.NumPlaces; p++) {
    const JoinPlace& place = shared.Places[p];
    if (place.Child < 0 || place.Child >= static_cast<int>(Children.size()))
      fail("shared variable " + std::string(shared.Name) + " names child " +
           std::to_string(place.Child) + ", and the join has " + std::to_string(Children.size()));
    BaseModelClass* child = Children[static_cast<size_t>(place.Child)];
    std::string where = Components[static_cast<size_t>(place.Child)];
    if (used[static_cast<size_t>(place.Child)])
      fail("shared variable " + std::string(shared.Name) + " joins two places of child " + where);
    used[static_cast<size_t>(place.Child)] = true;
    BaseStateVariableClass* variable = findChildVariable(child, place.Place);
    if (variable == nullptr)
      fail("child " + where + " has no place named " + place.Place + " (shared variable " +
           shared.Name + ")");
    members.push_back(variable);
    names.push_back(where + "." + place.Place);
  }
  // A join shares between children; a replicate of one copy may share a place with itself.
  if (members.size() < 2) fail(std::string("shared variable ") + shared.Name + " joins fewer than two places");
  shareVariables(shared.Name, members, [&](size_t m) { return names[m]; });
}

std::string JoinModel::childComponent(int i) const { return Components[static_cast<size_t>(i)]; }

int JoinModel::childIndexOf(const std::string& component) const {
  for (size_t i = 0; i < Components.size(); i++)
    if (Components[i] == component) return static_cast<int>(i);
  return -1;
}
