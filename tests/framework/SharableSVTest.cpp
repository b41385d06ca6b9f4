#include "framework/state/SharableSV.h"

#include <gtest/gtest.h>

#include "framework/BaseActionClass.h"
#include "framework/san/Place.h"

namespace {

// Something that is a state variable but not a shareable scalar.
class NotAScalar : public BaseStateVariableClass {
 public:
  int StateSize() override { return 0; }
  void SetState(void*) override {}
  void CurrentState(void*) override {}
  void share(BaseStateVariableClass*) override {}
};

}  // namespace

TEST(SharingFreshPlaces, BothReadTheOthersValueAndFollowEachOthersWrites) {
  Place p("P", 1);
  Place q("Q", 5);
  p.share(&q);
  EXPECT_EQ(p.getMark(), 5);
  EXPECT_EQ(q.getMark(), 5);
  q.setMark(8);
  EXPECT_EQ(p.getMark(), 8);
  p.Mark() = 2;
  EXPECT_EQ(q.getState(), 2);
}

TEST(SharingFreshPlaces, OnlyTheLeaderKeepsItsStorage) {
  Place p("P", 1);
  Place q("Q", 5);
  p.share(&q);
  EXPECT_TRUE(p.getStored());
  EXPECT_TRUE(p.getShared());
  EXPECT_FALSE(q.getStored());
  EXPECT_TRUE(q.getShared());
  EXPECT_EQ(q.getLeader(), &p);
  EXPECT_EQ(p.getLeader(), &p);
  // Both chains of two entries (value pointer and TheMark) now hang off the leader.
  EXPECT_EQ(p.getSharingCount(), 4);
  EXPECT_EQ(q.getHead(), nullptr);
}

TEST(SharingFreshPlaces, PointerRegisteredBeforeSharingReadsTheSharedValue) {
  Place p("P", 1);
  Place q("Q", 5);
  short* modelPointer = nullptr;
  q.Register(&modelPointer);
  EXPECT_EQ(*modelPointer, 5);
  p.share(&q);
  p.setMark(11);
  EXPECT_EQ(*modelPointer, 11);
  *modelPointer = 12;
  EXPECT_EQ(p.getMark(), 12);
}

TEST(SharingFreshPlaces, ActionListsAreMergedAndActionsNameTheLeader) {
  Place p("P", 0);
  Place q("Q", 0);
  BaseActionClass a, b, c;
  p.appendAffectingAction(&a);
  q.appendAffectingAction(&a);
  q.appendAffectingAction(&b);
  q.appendEnabledAction(&c);
  a.addAffectedSV(&p);
  a.addAffectedSV(&q);
  b.addAffectedSV(&q);
  c.addEnablingSV(&q);
  p.share(&q);
  EXPECT_EQ(q.getAffectingActions(), p.getAffectingActions());
  EXPECT_EQ(q.getEnabledActions(), p.getEnabledActions());
  EXPECT_EQ(p.getNumAffectingActions(), 2);  // a once, b
  EXPECT_EQ(p.getNumEnabledActions(), 1);
  // a named both places: it drops Q. b and c had Q only: they now name P.
  ASSERT_EQ(a.getNumAffectedSVs(), 1);
  EXPECT_EQ(a.getAffectedSV(0), &p);
  EXPECT_EQ(b.getAffectedSV(0), &p);
  EXPECT_EQ(c.getEnablingSV(0), &p);
}

TEST(SharingFreshPlaces, AffectingActionAddedThroughAMemberReachesTheGroup) {
  Place p("P", 0);
  Place q("Q", 0);
  p.share(&q);
  BaseActionClass a;
  q.appendAffectingAction(&a);
  EXPECT_EQ(p.getNumAffectingActions(), 1);
  EXPECT_EQ(p.getAffectingAction(0), &a);
}

TEST(SharingFreshPlaces, SharingWithANonScalarFailsTheAssertion) {
  Place p("P", 0);
  NotAScalar other;
  EXPECT_DEATH(p.share(&other), "Assertion");
}

// The groups below: A leads {A, B}; C is fresh or leads {C, D}.
TEST(SharingIntoAGroup, MemberSharingWithAFreshPlaceBringsItIntoItsLeadersGroup) {
  Place a("A", 4), b("B", 0), c("C", 9);
  a.share(&b);  // A keeps B's value 0
  a.setMark(4);
  short* pointerOnC = nullptr;
  c.Register(&pointerOnC);
  b.share(&c);  // B is a member, C is fresh: A absorbs C and the group value 4 stays
  EXPECT_EQ(c.getLeader(), &a);
  EXPECT_FALSE(c.getStored());
  EXPECT_EQ(c.getMark(), 4);
  EXPECT_EQ(*pointerOnC, 4);
  c.setMark(6);
  EXPECT_EQ(a.getMark(), 6);
  EXPECT_EQ(b.getMark(), 6);
}

TEST(SharingIntoAGroup, FreshPlaceSharingWithAMemberJoinsThatGroup) {
  Place a("A", 4), b("B", 0), c("C", 9);
  a.share(&b);
  a.setMark(4);
  c.share(&b);  // C fresh, B a member: B's leader A absorbs C
  EXPECT_EQ(c.getLeader(), &a);
  EXPECT_FALSE(c.getStored());
  EXPECT_EQ(c.getMark(), 4);
  EXPECT_EQ(a.getSharingCount(), 6);  // three places of two entries each
}

TEST(SharingIntoAGroup, SharingTwoMembersOfOneGroupChangesNothing) {
  Place a("A", 4), b("B", 0);
  a.share(&b);
  b.share(&a);
  b.share(&b);
  EXPECT_TRUE(a.getStored());
  EXPECT_FALSE(b.getStored());
  b.setMark(3);
  EXPECT_EQ(a.getMark(), 3);
  EXPECT_EQ(a.getSharingCount(), 4);
}

TEST(SharingTwoGroups, LargerGroupKeepsItsLeaderAndEveryMemberFollows) {
  Place a("A", 0), b("B", 0), c("C", 0), d("D", 0);
  short* extra1 = nullptr;
  short* extra2 = nullptr;
  a.share(&b);
  a.Register(&extra1);  // {A, B}: 4 + 1 entries
  c.share(&d);          // {C, D}: 4 entries
  short* pointerOnD = nullptr;
  d.Register(&pointerOnD);  // a member's pointer goes to its leader's chain: 5 entries
  c.Register(&extra2);      // 6 entries: {C, D} is now the larger group
  a.setMark(1);
  c.setMark(7);
  BaseActionClass x, y;
  b.appendEnabledAction(&x);
  d.appendEnabledAction(&y);
  b.share(&d);  // two groups: C (6 entries) absorbs A (5 entries)
  EXPECT_TRUE(c.getStored());
  EXPECT_FALSE(a.getStored());
  for (Place* member : {&a, &b, &d}) EXPECT_EQ(member->getLeader(), &c);
  EXPECT_EQ(c.getSharingCount(), 11);
  c.setMark(13);
  for (Place* member : {&a, &b, &d}) EXPECT_EQ(member->getMark(), 13);
  EXPECT_EQ(*extra1, 13);
  EXPECT_EQ(*extra2, 13);
  EXPECT_EQ(*pointerOnD, 13);
  for (Place* member : {&a, &b, &d}) EXPECT_EQ(member->getEnabledActions(), c.getEnabledActions());
  EXPECT_EQ(c.getNumEnabledActions(), 2);
}

TEST(SharingTwoGroups, PointerRegisteredOnAMemberFollowsALaterMerge) {
  Place a("A", 0), b("B", 0), c("C", 0), d("D", 0), e("E", 0);
  c.share(&d);
  c.share(&e);  // {C, D, E}: 6 entries
  a.share(&b);  // {A, B}: 4 entries
  short* pointerOnB = nullptr;
  b.Register(&pointerOnB);
  b.share(&d);  // C's group is larger: it absorbs A's group, B's pointer with it
  c.setMark(21);
  EXPECT_EQ(*pointerOnB, 21);
  EXPECT_EQ(b.getLeader(), &c);
}
