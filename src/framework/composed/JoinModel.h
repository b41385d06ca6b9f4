#ifndef TAVRIN_FRAMEWORK_COMPOSED_JOINMODEL_H
#define TAVRIN_FRAMEWORK_COMPOSED_JOINMODEL_H

#include <string>
#include <vector>

#include "framework/composed/ComposedModel.h"

// JoinPlace: one place joined by a shared variable of a join: the index of the child in the
// join's child array, and the place's name in that child (an atomic child's place, or a
// composed child's shared variable).
struct JoinPlace {
  int Child;
  const char* Place;
};

// JoinSharedVariable: one shared variable of a join, its name in the join and the places
// it joins, one from each of two or more distinct children; the names may differ.
struct JoinSharedVariable {
  const char* Name;
  int NumPlaces;
  const JoinPlace* Places;
};

// JoinModel: several children, atomic or composed, that share state through the variables
// the join declares. A child is named "Name" in instance paths, or "Name[k]" when k earlier
// children of the join bear the same name.
//
// The children must be built after the join (in the constructor of the class derived from
// it, or after its default construction) and handed over with initializeJoinModelNow,
// which makes them the join's.
class JoinModel : public ComposedModel {
 public:
  JoinModel();

  // A fault of the composition (a child index out of range, a place the child does not
  // have, a place joined twice, fewer than two places, two places of one child) ends the
  // process with a message naming it.
  void initializeJoinModelNow(const char* name, int numChildren, BaseModelClass** children,
                              int numShared, const JoinSharedVariable* shared);

  ModelType GetModelType() override { return BaseModelClass::JoinModel; }

 protected:
  std::string childComponent(int i) const override;
  int childIndexOf(const std::string& component) const override;

 private:
  void nameChildren();
  void join(const JoinSharedVariable& shared);

  std::vector<std::string> Components;   // the path component of each child
};

#endif
