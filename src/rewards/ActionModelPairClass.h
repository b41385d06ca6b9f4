#ifndef TAVRIN_REWARDS_ACTIONMODELPAIRCLASS_H
#define TAVRIN_REWARDS_ACTIONMODELPAIRCLASS_H

// ActionModelPairClass: the action that earns an impulse reward, named with its submodel.
class ActionModelPairClass {
 public:
  ActionModelPairClass();
  ~ActionModelPairClass();
  ActionModelPairClass(const ActionModelPairClass&) = delete;
  ActionModelPairClass& operator=(const ActionModelPairClass&) = delete;

  void SetPair(const char* action, const char* model);   // keeps copies, freeing the old ones

  char* ModelName;    // owned
  char* ActionName;   // owned
};

#endif
