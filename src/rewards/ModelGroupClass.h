#ifndef TAVRIN_REWARDS_MODELGROUPCLASS_H
#define TAVRIN_REWARDS_MODELGROUPCLASS_H

class BaseModelClass;

// ModelGroupClass: the submodel instances one reward worker reads, one per model name the
// variable depends on, in the order of the variable's model names.
class ModelGroupClass {
 public:
  ModelGroupClass();
  ~ModelGroupClass();
  ModelGroupClass(const ModelGroupClass&) = delete;
  ModelGroupClass& operator=(const ModelGroupClass&) = delete;

  void SetNumModels(int numModels);   // makes room for numModels entries, all null
  bool IsDependentOnModel(const BaseModelClass* model) const;

  BaseModelClass** ModelList;   // owned array; the models are not owned
  int NumModels;
};

#endif
