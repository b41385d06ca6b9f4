#ifndef TAVRIN_FRAMEWORK_SAN_SANMODEL_H
#define TAVRIN_FRAMEWORK_SAN_SANMODEL_H

#include <cstdio>
#include <forward_list>
#include <iosfwd>

#include "framework/BaseModelClass.h"
#include "framework/State.h"

class Activity;
class Place;

// SANModel: an atomic stochastic activity network: a named collection of places, read-only
// places, activities and groups whose whole marking is saved and restored as one flat byte
// vector. Generated models derive from it and hand their elements to initializeSANModelNow.
class SANModel : public BaseModelClass {
 public:
  // LocalState: a saved copy of one model's state vector (of any kind of model).
  class LocalState : public State {
   public:
    explicit LocalState(BaseModelClass* model);
    ~LocalState() override;
    LocalState(const LocalState&) = delete;
    LocalState& operator=(const LocalState& other);

    int hash() const override;
    int compare(const State& other) const override;   // 0 when the bytes are equal
    void print() const override;
    int fwriteState(FILE* file) override;
    int freadState(FILE* file) override;   // 1, leaving the buffer alone, on a size mismatch
    State& operator=(const State& other) override;
    void SetState(const BaseModelClass* model) override;
    void GetState(const BaseModelClass* model) override;
    void* GetStatePtr() override { return state; }

    unsigned char* state;   // owned: size bytes
    int size;
  };

  SANModel();
  SANModel(const char* name, int nPlaces, BaseStateVariableClass** places, int nReadOnly,
           BaseStateVariableClass** readOnly, int nActivities, Activity** activities,
           int nGroups, BaseGroupClass** groups);
  ~SANModel() override;   // frees the arrays; the places belong to the generated model

  void initializeSANModelNow(const char* name, int nPlaces, BaseStateVariableClass** places,
                             int nReadOnly, BaseStateVariableClass** readOnly, int nActivities,
                             Activity** activities, int nGroups, BaseGroupClass** groups);

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
  ModelType GetModelType() override { return AtomicModel; }
  int GetNumberOfChildren() override { return 0; }
  BaseModelClass* GetChild(int i) override;
  void GetLocalActions(std::forward_list<BaseActionClass*>& actions) override;
  void GetGlobalActions(std::forward_list<BaseActionClass*>& actions) override;
  bool HasLocalState() override { return StateSize() > 0; }
  void GetLocalState(State* state) override;
  void SetLocalState(const State* state) override;
  void ConstructLocalState(State*& state) override;
  void DestructLocalState(State* state) override;

  void PrintSANModelInfo();
  int getNumReadOnlyPlaces() const { return NumReadOnlyPlaces; }
  int getNumLocalStateVariables() const { return NumStateVariables - NumReadOnlyPlaces; }

  BaseStateVariableClass** LocalStateVariables;   // owned array; the places are not owned
  BaseStateVariableClass** ReadOnlyPlaces;        // owned array; the places are not owned
  int NumReadOnlyPlaces;

 private:
  void SetPlaces(int n, BaseStateVariableClass** places);
  void SetReadOnlyPlaces(int n, BaseStateVariableClass** readOnly);
  void SetActions(int n, Activity** activities);
  void SetGroups(int n, BaseGroupClass** groups);
};

// For generated code: true when the array holds exactly the model's local places,
// read-only places or actions, in the model's order.
bool checkLocalSVs(SANModel* model, Place** places);
bool checkReadOnlyPlaces(SANModel* model, BaseStateVariableClass** readOnly);
bool checkLocalActions(SANModel* model, Activity** activities);

#endif
