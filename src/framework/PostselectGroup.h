#ifndef TAVRIN_FRAMEWORK_POSTSELECTGROUP_H
#define TAVRIN_FRAMEWORK_POSTSELECTGROUP_H

#include "framework/BaseGroupClass.h"

// PostselectGroup: its completion time is that of its first member; which member fires is
// chosen only at completion.
class PostselectGroup : public BaseGroupClass {
 public:
  PostselectGroup();
  // n member slots, counted as members at once, to be filled with setMember; appendGroup
  // grows the arrays beyond them like for any group.
  explicit PostselectGroup(int n);

  double SampleDistribution() override;
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  int Rank() override;
  double Weight() override;
  BaseActionClass* Fire() override;
};

#endif
