#ifndef TAVRIN_FRAMEWORK_COMPOSED_REPMODEL_H
#define TAVRIN_FRAMEWORK_COMPOSED_REPMODEL_H

#include <functional>
#include <string>
#include <vector>

#include "framework/composed/ComposedModel.h"

// RepModel: N copies of one child model (atomic or composed), N fixed when the model is
// built (the value of a global variable for the experiment). The places named as shared are
// one variable common to all copies, declared by this model under the child's place name;
// every other place stays local to its copy. Copy i is named "Child[i]" in instance paths.
//
// The copies are made by a factory, called N times in order, so that they are built after
// this model (see ComposedModel). All copies must be the same model: the shared places are
// looked up by name once, in copy 0, and taken at the same position in every other copy.
class RepModel : public ComposedModel {
 public:
  using ChildFactory = std::function<BaseModelClass*()>;
  // The most copies one replicate makes: the model generator refuses more, and so does the
  // simulator for a count given on its command line.
  static constexpr int MaxCopies = 100000000;

  RepModel();
  RepModel(const char* name, int numReps, const ChildFactory& makeChild, int numShared,
           const char* const* sharedNames);

  // Builds the copies and shares the named places; a fault of the composition (no copy,
  // copies that differ, a shared name that names no place of the child) ends the process
  // with a message naming it, as does a number of copies outside 1 to MaxCopies.
  void initializeRepModelNow(const char* name, int numReps, const ChildFactory& makeChild,
                             int numShared, const char* const* sharedNames);

  ModelType GetModelType() override { return BaseModelClass::RepModel; }
  int getNumReps() const { return static_cast<int>(Children.size()); }

  // Every copy has the same name, places and actions, so a look-up by name is made once in
  // copy 0 and its position reused in the others.
  void listModels(const char* name, List<BaseModelClass>* models) override;
  void listActions(const char* name, List<BaseActionClass>* actions) override;
  using ComposedModel::listActions;
  void listSVs(const char* modelName, const char* svName,
               List<BaseStateVariableClass>* svContainer,
               List<BaseModelClass>* modelContainer) override;

 protected:
  std::string childComponent(int i) const override;
  int childIndexOf(const std::string& component) const override;

 private:
  void checkCopiesAlike();
  void shareAcrossCopies(const char* placeName);
  bool atomicCopies() const;
};

#endif
