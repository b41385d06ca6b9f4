#ifndef TAVRIN_REWARDS_VARMODELPAIRCLASS_H
#define TAVRIN_REWARDS_VARMODELPAIRCLASS_H

// VarModelPairClass: a state variable a rate reward reads, named with its submodel.
class VarModelPairClass {
 public:
  VarModelPairClass();
  ~VarModelPairClass();
  VarModelPairClass(const VarModelPairClass&) = delete;
  VarModelPairClass& operator=(const VarModelPairClass&) = delete;

  void SetPair(const char* var, const char* model);   // keeps copies, freeing the old ones

  char* ModelName;   // owned
  char* VarName;     // owned
};

#endif
