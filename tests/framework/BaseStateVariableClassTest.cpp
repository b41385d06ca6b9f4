#include "framework/BaseStateVariableClass.h"

#include <gtest/gtest.h>

#include "framework/BaseActionClass.h"

namespace {

// The smallest concrete variable: only the base behaviour is under test.
class PlainVariable : public BaseStateVariableClass {
 public:
  PlainVariable() = default;
  PlainVariable(const char* name, const char* prefix) : BaseStateVariableClass(name, prefix) {}
  int StateSize() override { return 0; }
  void SetState(void*) override {}
  void CurrentState(void*) override {}
  void share(BaseStateVariableClass*) override {}
};

std::string captureStdout(void (*print)(const PlainVariable&), const PlainVariable& v) {
  testing::internal::CaptureStdout();
  print(v);
  return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(StateVariableNames, PrefixAndNameAreJoinedByADot) {
  PlainVariable v("queue", "cpu1");
  EXPECT_STREQ(v.getFullyQualifiedName(), "cpu1.queue");
}

TEST(StateVariableNames, EmptyPrefixGivesTheBareName) {
  PlainVariable v("queue", "");
  EXPECT_STREQ(v.getFullyQualifiedName(), "queue");
}

TEST(StateVariableNames, SettingNameAndPrefixKeepsPrivateCopies) {
  char name[] = "first";
  PlainVariable v;
  v.SetName(name);
  v.SetPrefix("m");
  name[0] = 'X';  // the caller's buffer changes; the variable's name must not
  EXPECT_STREQ(v.getName(), "first");
  EXPECT_STREQ(v.getFullyQualifiedName(), "m.first");
  v.SetPrefix("");
  EXPECT_STREQ(v.getFullyQualifiedName(), "first");
}

TEST(StateVariableFlags, NewVariableIsStoredUnsharedWithNoChain) {
  PlainVariable v;
  EXPECT_STREQ(v.getFullyQualifiedName(), "default");
  EXPECT_FALSE(v.getShared());
  EXPECT_TRUE(v.getStored());
  EXPECT_FALSE(v.getFunctionallyShared());
  EXPECT_EQ(v.getSharingCount(), 0);
}

TEST(StateVariableFlags, EachSetterChangesOnlyItsOwnFlag) {
  PlainVariable v;
  v.setShared(true);
  EXPECT_TRUE(v.getShared());
  EXPECT_TRUE(v.getStored());
  EXPECT_FALSE(v.getFunctionallyShared());
  v.setFunctionallyShared(true);
  EXPECT_TRUE(v.getFunctionallyShared());
  EXPECT_TRUE(v.getStored());
  v.setStored(false);
  EXPECT_FALSE(v.getStored());
  EXPECT_TRUE(v.getShared());
  v.setStored(true);  // the lists are owned again, so the destructor frees them
}

TEST(StateVariableActions, AppendingTheSameActionTwiceKeepsOneEntry) {
  PlainVariable v;
  BaseActionClass a;
  BaseActionClass b;
  v.appendAffectingAction(&a);
  v.appendAffectingAction(&a);
  v.appendEnabledAction(&b);
  v.appendEnabledAction(&b);
  EXPECT_EQ(v.getNumAffectingActions(), 1);
  EXPECT_EQ(v.getAffectingAction(0), &a);
  EXPECT_EQ(v.getNumEnabledActions(), 1);
  EXPECT_EQ(v.getEnabledAction(0), &b);
}

TEST(StateVariableActions, RemoveReplaceAndCopyWorkOnTheRightList) {
  PlainVariable v;
  PlainVariable source;
  BaseActionClass a, b, c;
  v.appendAffectingAction(&a);
  v.replaceAffectingAction(&a, &b);
  EXPECT_EQ(v.getAffectingAction(0), &b);
  EXPECT_EQ(v.getNumEnabledActions(), 0);
  source.appendEnabledAction(&a);
  source.appendEnabledAction(&c);
  v.appendEnabledAction(&c);
  v.copyEnabledActions(source.getEnabledActions());  // c is already there: a is added
  EXPECT_EQ(v.getNumEnabledActions(), 2);
  v.removeEnabledAction(&c);
  EXPECT_EQ(v.getNumEnabledActions(), 1);
  EXPECT_EQ(v.getEnabledAction(0), &a);
  EXPECT_EQ(v.getNumAffectingActions(), 1);
}

TEST(StateVariableActions, ReadingPastTheListAbortsWithTheFrameworkMessage) {
  PlainVariable v;
  BaseActionClass a;
  v.appendAffectingAction(&a);
  EXPECT_DEATH(v.getAffectingAction(1), "!! Assertion failed in file .*, line [0-9]+");
  EXPECT_DEATH(v.getEnabledAction(0), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(StateVariableActions, PrintedListsBeginWithTheirHeading) {
  PlainVariable v("P", "");
  std::string affecting = captureStdout([](const PlainVariable& x) { x.printAffectingActions(); }, v);
  std::string enabled = captureStdout([](const PlainVariable& x) { x.printEnabledActions(); }, v);
  EXPECT_EQ(affecting, "Affecting actions for P:\nNo items in the list\n");
  EXPECT_EQ(enabled, "Enabled actions for P:\nNo items in the list\n");
}

TEST(StateVariableLeaves, PlainVariableIsItsOwnOnlyLeaf) {
  PlainVariable v;
  EXPECT_TRUE(v.isLeafNode());
  EXPECT_EQ(v.getNumLeafNodes(), 1);
  List<BaseStateVariableClass>* leaves = v.getLeafNodes();
  ASSERT_EQ(leaves->getNumItems(), 1);
  EXPECT_EQ(leaves->getItem(0), &v);
  delete leaves;
}

TEST(StateVariableLeaves, AddsAndRemovesItselfInTheActionsLists) {
  PlainVariable v;
  BaseActionClass a;
  v.addSelfAsEnablingSVToAction(&a);
  v.addSelfAsAffectedSVToAction(&a);
  ASSERT_EQ(a.getNumEnablingSVs(), 1);
  EXPECT_EQ(a.getEnablingSV(0), &v);
  ASSERT_EQ(a.getNumAffectedSVs(), 1);
  v.removeSelfFromEnablingSVOfAction(&a);
  EXPECT_EQ(a.getNumEnablingSVs(), 0);
  EXPECT_EQ(a.getNumAffectedSVs(), 1);
  v.removeSelfFromAffectedSVOfAction(&a);
  EXPECT_EQ(a.getNumAffectedSVs(), 0);
}

