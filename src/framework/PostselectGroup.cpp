#include "framework/PostselectGroup.h"

#include "framework/Errors.h"

PostselectGroup::PostselectGroup() {}

PostselectGroup::PostselectGroup(int n) {
  initialize(n, "default");
  NumActions = n;
}

double PostselectGroup::SampleDistribution() { return getMember(0)->SampleDistribution(); }
bool PostselectGroup::ReactivationPredicate() { return getMember(0)->ReactivationPredicate(); }
bool PostselectGroup::ReactivationFunction() { return getMember(0)->ReactivationFunction(); }
int PostselectGroup::Rank() { return 1; }
double PostselectGroup::Weight() { return 1.0; }

BaseActionClass* PostselectGroup::Fire() {
  SelectAction();
  BaseActionClass* fired = selected()->Fire();
  SelectedAction = nullptr;
  return fired;
}
