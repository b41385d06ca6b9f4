#ifndef TAVRIN_FRAMEWORK_BASEMODELCLASS_H
#define TAVRIN_FRAMEWORK_BASEMODELCLASS_H

#include <forward_list>
#include <iosfwd>

#include "framework/List.h"

class BaseActionClass;
class BaseGroupClass;
class BaseStateVariableClass;
class State;

// BaseModelClass: the interface of every model, atomic or composed: what the engine runs,
// what the reward model observes and what the traces print. Operations that only some kinds
// of model supply abort when another kind is asked for them.
class BaseModelClass {
 public:
  enum ModelType {
    InvalidModel = 0,
    AtomicModel = 1,
    JoinModel = 2,
    RepModel = 3,
    GraphJoinModel = 4,
    GraphWrapperModel = 5
  };

  BaseModelClass();
  virtual ~BaseModelClass();   // frees the name and the action and group arrays
  BaseModelClass(const BaseModelClass&) = delete;
  BaseModelClass& operator=(const BaseModelClass&) = delete;

  virtual int getNumStateVariables();
  virtual void listModels(const char* name, List<BaseModelClass>* models) = 0;
  virtual void CurrentState(void* at) = 0;
  virtual void listActions(List<BaseActionClass>* actions) = 0;
  virtual void listGroups(List<BaseGroupClass>* groups) = 0;
  virtual void SetState(void* at) = 0;
  virtual int StateSize() = 0;
  virtual bool CompareState(void* a, void* b) = 0;
  virtual void listActions(const char* name, List<BaseActionClass>* actions) = 0;
  virtual void listSVs(const char* modelName, const char* svName,
                       List<BaseStateVariableClass>* svContainer,
                       List<BaseModelClass>* modelContainer) = 0;
  virtual void printState(std::ostream* out);
  virtual void printState();
  virtual BaseStateVariableClass** GetLocalStateVariables(std::ostream* out);
  virtual BaseStateVariableClass** GetSharedStateVariables();
  virtual BaseStateVariableClass* getMainSharedVariable(BaseStateVariableClass* sv);
  virtual List<BaseStateVariableClass>* getListOfSharedVariables(BaseStateVariableClass* sv);
  virtual void AddAffectArc(BaseStateVariableClass* sv, BaseActionClass* action);
  virtual void AddEnableArc(BaseStateVariableClass* sv, BaseActionClass* action);
  virtual ModelType GetModelType();
  virtual int GetNumberOfChildren();
  virtual BaseModelClass* GetChild(int i);
  virtual void GetLocalActions(std::forward_list<BaseActionClass*>& actions);
  virtual void GetGlobalActions(std::forward_list<BaseActionClass*>& actions);
  virtual bool HasLocalState();
  virtual void GetLocalState(State* state);
  virtual void SetLocalState(const State* state);
  virtual void ConstructLocalState(State*& state);
  virtual void DestructLocalState(State* state);

  void DefineName(const char* name);   // keeps a private copy
  const char* getName() const { return Name; }
  int getId() const { return Id; }
  int getParentId() const { return ParentId; }
  void SetParentId(int parentId) { ParentId = parentId; }
  int getNumActions() const { return NumActions; }
  BaseActionClass** getActionList() const { return ActionList; }
  int getNumGroups() const { return NumGroups; }
  BaseGroupClass** getGroupList() const { return GroupList; }
  int getNumSharedStateVariables() const { return NumSharedStateVariables; }

  // The simulated time of the latest firing in any model, kept by the reward model.
  static double LastActionTime;

  int NumStateVariables;         // read-only places included
  int NumSharedStateVariables;   // 0 for an atomic model
  int NumActions;
  int NumGroups;
  BaseGroupClass** GroupList;    // owned array; the groups are not owned
  char* Name;                    // owned
  int Id;
  int ParentId;
  int NumPVs;
  BaseActionClass** ActionList;  // owned array; the actions are not owned
};

#endif
