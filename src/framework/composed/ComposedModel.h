#ifndef TAVRIN_FRAMEWORK_COMPOSED_COMPOSEDMODEL_H
#define TAVRIN_FRAMEWORK_COMPOSED_COMPOSEDMODEL_H

#include <cstddef>
#include <forward_list>
#include <functional>
#include <iosfwd>
#include <string>
#include <unordered_set>
#include <vector>

#include "framework/BaseModelClass.h"

class Place;
class SANModel;

// ComposedModel: what the two composed model kinds (RepModel, JoinModel) have in common: a
// model made of child models (atomic or composed) whose places are shared through variables
// the composed model declares and holds. It presents the whole tree to the engine, the
// reward model and the traces as one model.
//
// Shared variables. Every variable a composed model declares is a new place, owned by the
// composed model, that leads the sharing group of the children's places it joins: it holds
// the value and the action lists, and every joined place of a child becomes a member of its
// group (Shared, not Stored). When an enclosing composed model joins one of these variables
// in turn, its own new place absorbs the whole group, so the value is always held by the
// outermost variable that shares it.
//
// State vector. A composed model's vector is the values of its own shared variables that
// it still holds (those no enclosing model has absorbed), in declaration order, followed by
// the vectors of its children in child order. An atomic child's vector holds only its
// unshared places, so every value is written exactly once, by the model that holds it.
//
// Names. Every model of the tree has an instance path: a root composed model's path is its
// name; a child's path is its parent's path, ".", and the child's component (RepModel:
// "Name[i]"; JoinModel: "Name", or "Name[k]" for the k-th of several children of one name).
// The places of an atomic child take its path as their prefix, and a composed model's
// shared variables take the composed model's path, so every variable of the tree has a
// distinct fully qualified name. listModels, listSVs and listActions accept, besides a
// model name (every instance of that name), an instance path (that instance only); an
// action may also be named by its instance path, ".", and its name.
//
// Model identifiers: a composed model must be constructed before its children (the
// children are built by its initialisation, or in the constructor of the class derived
// from it), so that an enclosing model always has a smaller identifier than the models it
// holds, as the XML trace relies on.
class ComposedModel : public BaseModelClass {
 public:
  ~ComposedModel() override;   // deletes the children and the shared variables

  void listModels(const char* name, List<BaseModelClass>* models) override;
  void CurrentState(void* at) override;
  void listActions(List<BaseActionClass>* actions) override;
  void listGroups(List<BaseGroupClass>* groups) override;
  void SetState(void* at) override;
  int StateSize() override;
  bool CompareState(void* a, void* b) override;
  void listActions(const char* name, List<BaseActionClass>* actions) override;
  void listSVs(const char* modelName, const char* svName,
               List<BaseStateVariableClass>* svContainer,
               List<BaseModelClass>* modelContainer) override;
  void printState(std::ostream* out) override;
  using BaseModelClass::printState;
  BaseStateVariableClass** GetLocalStateVariables(std::ostream* out) override;
  BaseStateVariableClass** GetSharedStateVariables() override;
  BaseStateVariableClass* getMainSharedVariable(BaseStateVariableClass* sv) override;
  List<BaseStateVariableClass>* getListOfSharedVariables(BaseStateVariableClass* sv) override;
  int GetNumberOfChildren() override;
  BaseModelClass* GetChild(int i) override;
  void GetLocalActions(std::forward_list<BaseActionClass*>& actions) override;
  void GetGlobalActions(std::forward_list<BaseActionClass*>& actions) override;
  bool HasLocalState() override { return StateSize() > 0; }
  void GetLocalState(State* state) override;
  void SetLocalState(const State* state) override;
  void ConstructLocalState(State*& state) override;
  void DestructLocalState(State* state) override;

  const std::string& getInstancePath() const { return InstancePath; }
  // Gives this model a new path and renames the whole subtree after it.
  void setInstancePath(const std::string& path);
  // The model of the subtree whose instance path is path, or null.
  BaseModelClass* findInstance(const char* path);

  // The instance path of any model of a tree: a composed model's own, an atomic model's
  // taken from the prefix of its places (its name when it stands alone or has no place).
  static std::string instancePathOf(BaseModelClass* model);

 protected:
  ComposedModel();

  // The path component of child i, and the child a component names (-1 for none).
  virtual std::string childComponent(int i) const = 0;
  virtual int childIndexOf(const std::string& component) const = 0;

  // Takes the children (owned from now on): checks that they belong to no other model and
  // were built after this one, lists their actions and groups as this model's, renumbers
  // their actions' group indices into this model's group list, and names the subtree.
  void adoptChildren(const char* name, const std::vector<BaseModelClass*>& children);

  // Declares a shared variable named name that joins the given places (two or more), and
  // returns it. The variable takes the initial marking of the first place. memberName(m)
  // names place m in an error message.
  Place* shareVariables(const char* name, const std::vector<BaseStateVariableClass*>& members,
                        const std::function<std::string(size_t)>& memberName);

  // Appends this model's own shared variables named svName, each with this model.
  void listOwnSVs(const char* svName, List<BaseStateVariableClass>* svContainer,
                  List<BaseModelClass>* modelContainer);

  // The shareable variables of a child, by name: an atomic child's places, a composed
  // child's shared variables; null when it has none of that name.
  static BaseStateVariableClass* findChildVariable(BaseModelClass* child, const char* name);

  // Ends the process after a fault of the model's composition, named in text.
  [[noreturn]] void fail(const std::string& text) const;

  static bool isQualified(const char* name);
  static void renameAtomic(SANModel* model, const std::string& path);

  // Collects into held the variables whose value is held within this subtree.
  void collectHeldVariables(std::unordered_set<BaseStateVariableClass*>& held);

  std::vector<BaseModelClass*> Children;               // owned
  std::vector<BaseStateVariableClass*> SharedVariables;  // owned: the places this model declared
  // For each shared variable, the children's places it joins, in declaration order.
  std::vector<List<BaseStateVariableClass>*> SharedMembers;   // owned lists
  std::string InstancePath;
};

#endif
