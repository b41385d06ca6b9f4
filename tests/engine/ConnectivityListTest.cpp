#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "SimulatorFixture.h"
#include "TestModels.h"
#include "framework/san/SANModel.h"

using Names = std::vector<std::string>;

namespace {

// A model without places or activities.
class EmptySAN : public SANModel {
 public:
  EmptySAN() { initializeSANModelNow("EMPTY", 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr); }
};

// E belongs to the group Pair (id 4) but names D's group.
class MisgroupedSAN : public ShareSAN {
 public:
  MisgroupedSAN() { E.setGroupID(3); }
};

// F names a group the model does not have.
class StrayGroupSAN : public ShareSAN {
 public:
  StrayGroupSAN() { F.setGroupID(9); }
};

void Rebuild(SimulatorOn<ShareSAN>& share, const char* simtest) {
  share.Sim->DestructConnectivityList();
  setenv("SIMTEST", simtest, 1);
  EXPECT_EQ(share.Sim->GenerateConnectivityListOld(), 0);
  unsetenv("SIMTEST");
}

}  // namespace

// Discovery per action (own group first, then the groups enabled by each variable it
// changes, in arc order), reversed by front insertion:
//   A: A; P enables A (again), B; Q enables B (again), C  -> C, B, A
//   B: B; R enables D, E and F, both of group Pair       -> Pair, D, B
//   C: C; Q enables B, C (again)                         -> B, C
//   D, E, F change nothing                               -> own group only
TEST(ConnectivityCurrentBuilder, ListsEndWithTheOwnGroupAfterTheOthersInReverseDiscovery) {
  SimulatorOn<ShareSAN> share;
  ShareSAN& m = share.model();
  EXPECT_EQ(AffectsNames(&m.A), (Names{"C", "B", "A"}));
  EXPECT_EQ(AffectsNames(&m.B), (Names{"Pair", "D", "B"}));
  EXPECT_EQ(AffectsNames(&m.C), (Names{"B", "C"}));
  EXPECT_EQ(AffectsNames(&m.D), (Names{"D"}));
  EXPECT_EQ(AffectsNames(&m.E), (Names{"Pair"}));
  EXPECT_EQ(AffectsNames(&m.F), (Names{"Pair"}));
}

// Records in the order the older builder makes them, per affected group p's group G:
//   A: (A,A) (A,A again via P)     B: (B,B) (B,A) (B,C) (B,A again via P)
//   C: (C,C) (C,A) (C,C again)     D: (D,D) (D,B)
//   E: (Pair,E) (Pair,B)           F: (Pair,F) (Pair,B again)
// so A receives A, B, C; B receives B, D, Pair; C receives B, C.
TEST(ConnectivityOldBuilder, AppendModeKeepsRecordOrderAndDropsDuplicates) {
  SimulatorOn<ShareSAN> share;
  Rebuild(share, "0");
  ShareSAN& m = share.model();
  EXPECT_EQ(AffectsNames(&m.A), (Names{"A", "B", "C"}));
  EXPECT_EQ(AffectsNames(&m.B), (Names{"B", "D", "Pair"}));
  EXPECT_EQ(AffectsNames(&m.C), (Names{"B", "C"}));
  EXPECT_EQ(AffectsNames(&m.D), (Names{"D"}));
  EXPECT_EQ(AffectsNames(&m.E), (Names{"Pair"}));
  EXPECT_EQ(AffectsNames(&m.F), (Names{"Pair"}));
}

TEST(ConnectivityOldBuilder, MatrixModeInsertsEachRecordOnceAtTheFront) {
  SimulatorOn<ShareSAN> share;
  Rebuild(share, "1");
  ShareSAN& m = share.model();
  EXPECT_EQ(AffectsNames(&m.A), (Names{"C", "B", "A"}));
  EXPECT_EQ(AffectsNames(&m.B), (Names{"Pair", "D", "B"}));
  EXPECT_EQ(AffectsNames(&m.C), (Names{"C", "B"}));
  EXPECT_EQ(AffectsNames(&m.D), (Names{"D"}));
  EXPECT_EQ(AffectsNames(&m.F), (Names{"Pair"}));
}

TEST(ConnectivityOldBuilder, ModelWithoutActionsGetsNoListsFromEitherBuilder) {
  SimulatorOn<EmptySAN> empty;
  setenv("SIMTEST", "1", 1);
  EXPECT_EQ(empty.Sim->GenerateConnectivityListOld(), 0);
  setenv("SIMTEST", "0", 1);
  EXPECT_EQ(empty.Sim->GenerateConnectivityListOld(), 0);
  unsetenv("SIMTEST");
  EXPECT_EQ(empty.Sim->GenerateConnectivityList(), 0);
}

TEST(ConnectivityRelease, DestructingTheListsLeavesEveryActionWithoutNodes) {
  SimulatorOn<ShareSAN> share;
  share.Sim->DestructConnectivityList();
  ShareSAN& m = share.model();
  for (BaseActionClass* a : {static_cast<BaseActionClass*>(&m.A), static_cast<BaseActionClass*>(&m.B),
                             static_cast<BaseActionClass*>(&m.E)})
    EXPECT_EQ(a->Affects, nullptr);
}

TEST(ConnectivityListing, EachActionIsFollowedByTheGroupsItAffects) {
  SimulatorOn<ShareSAN> share;
  ShareSAN& m = share.model();
  std::string model = "SHARE(" + std::to_string(m.getId()) + ")->";
  auto line = [&](const char* indent, BaseActionClass& a) {
    return indent + model + a.ActionName + " (" + std::to_string(a.getID()) + ")\n";
  };
  std::string expected;
  expected += line("Action: ", m.A) + "Checking my Affects\n" + line("    ", m.C) +
              line("    ", m.B) + line("    ", m.A);
  expected += line("Action: ", m.B) + "Checking my Affects\n" + line("    ", m.Pair) +
              line("    ", m.D) + line("    ", m.B);
  expected += line("Action: ", m.C) + "Checking my Affects\n" + line("    ", m.B) +
              line("    ", m.C);
  expected += line("Action: ", m.D) + "Checking my Affects\n" + line("    ", m.D);
  expected += line("Action: ", m.E) + "Checking my Affects\n" + line("    ", m.Pair);
  expected += line("Action: ", m.F) + "Checking my Affects\n" + line("    ", m.Pair);
  std::ostringstream out;
  share.Sim->PrintConnectivityList(out);
  EXPECT_EQ(out.str(), expected);
}

TEST(ConnectivityListing, AnActionWithAnEmptyListIsAnInternalError) {
  SimulatorOn<ShareSAN> share;
  share.Sim->ClearActionAffectsList(&share.model().C);
  std::ostringstream out;
  EXPECT_DEATH(share.Sim->PrintConnectivityList(out), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(ConnectivityGroupIds, ActivityWhoseGroupIdNamesAGroupItIsNotInIsRefusedAtSetUp) {
  EXPECT_EXIT(SimulatorOn<MisgroupedSAN>(), ::testing::ExitedWithCode(1),
              "ERROR: Activity E has group id 3, but group 3 \\(D\\) does not hold it");
  EXPECT_EXIT(SimulatorOn<StrayGroupSAN>(), ::testing::ExitedWithCode(1),
              "ERROR: Activity F has group id 9, but the model has groups 0 to 4");
}
