#include "framework/san/SANModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>

#include "GroupTestSupport.h"
#include "framework/san/Place.h"

namespace {
// A small model: places P (258) and Q (-1), read-only place R, activities A and B, and A
// alone handed over as a group.
struct SmallModel {
  SmallModel() : p("P", 258), q("Q", -1), r("R", 7), a("A"), b("B") {
    BaseStateVariableClass* places[] = {&p, &q};
    BaseStateVariableClass* readOnly[] = {&r};
    Activity* activities[] = {&a, &b};
    BaseGroupClass* groups[] = {&a};
    model.initializeSANModelNow("Small", 2, places, 1, readOnly, 2, activities, 1, groups);
  }
  Place p, q, r;
  StubActivity a, b;
  SANModel model;
};

void fill(SANModel::LocalState& s, std::initializer_list<unsigned char> bytes) {
  ASSERT_EQ(static_cast<size_t>(s.size), bytes.size());
  std::copy(bytes.begin(), bytes.end(), s.state);
}
}  // namespace

TEST(SANModelAssembly, CountsArraysAndOwnershipFollowTheInitialization) {
  SmallModel m;
  EXPECT_STREQ(m.model.getName(), "Small");
  EXPECT_EQ(m.model.getNumStateVariables(), 3);
  EXPECT_EQ(m.model.getNumReadOnlyPlaces(), 1);
  EXPECT_EQ(m.model.getNumActions(), 2);
  EXPECT_EQ(m.model.getNumGroups(), 1);
  EXPECT_EQ(m.model.GetLocalStateVariables(nullptr)[1], &m.q);
  EXPECT_EQ(m.a.TheModel, &m.model);
  EXPECT_EQ(m.b.TheModel, &m.model);
  EXPECT_EQ(m.model.GetModelType(), BaseModelClass::AtomicModel);
  EXPECT_EQ(m.model.GetNumberOfChildren(), 0);
  EXPECT_DEATH(m.model.GetChild(0), "Assertion");
}

TEST(SANModelAssembly, NullElementAborts) {
  Place p("P", 0);
  BaseStateVariableClass* places[] = {&p, nullptr};
  SANModel model;
  EXPECT_DEATH(model.initializeSANModelNow("Bad", 2, places, 0, nullptr, 0, nullptr, 0, nullptr),
               "!! Assertion failed in file .*, line [0-9]+");
}

TEST(SANModelAssembly, CheckersCompareElementByElement) {
  SmallModel m;
  Place* same[] = {&m.p, &m.q};
  Place* swapped[] = {&m.q, &m.p};
  BaseStateVariableClass* readOnly[] = {&m.r};
  BaseStateVariableClass* wrongReadOnly[] = {&m.p};
  Activity* actions[] = {&m.a, &m.b};
  Activity* wrongActions[] = {&m.a, &m.a};
  EXPECT_TRUE(checkLocalSVs(&m.model, same));
  EXPECT_FALSE(checkLocalSVs(&m.model, swapped));
  EXPECT_TRUE(checkReadOnlyPlaces(&m.model, readOnly));
  EXPECT_FALSE(checkReadOnlyPlaces(&m.model, wrongReadOnly));
  EXPECT_TRUE(checkLocalActions(&m.model, actions));
  EXPECT_FALSE(checkLocalActions(&m.model, wrongActions));
}

TEST(SANModelLookup, ListsKeepTheModelsOrder) {
  SmallModel m;
  List<BaseActionClass> actions;
  List<BaseGroupClass> groups;
  List<BaseModelClass> models;
  m.model.listActions(&actions);
  m.model.listGroups(&groups);
  m.model.listModels("Small", &models);
  m.model.listModels("Other", &models);
  ASSERT_EQ(actions.getNumItems(), 2);
  EXPECT_EQ(actions.getItem(0), &m.a);
  EXPECT_EQ(actions.getItem(1), &m.b);
  ASSERT_EQ(groups.getNumItems(), 1);
  EXPECT_EQ(groups.getItem(0), &m.a);
  ASSERT_EQ(models.getNumItems(), 1);
  EXPECT_EQ(models.getItem(0), &m.model);
}

TEST(SANModelLookup, ActionByNameAppendsOnlyTheFirstMatch) {
  SmallModel m;
  m.b.defineName("A");   // two actions named A now
  List<BaseActionClass> found;
  m.model.listActions("Nobody", &found);
  EXPECT_EQ(found.getNumItems(), 0);
  m.model.listActions("A", &found);
  ASSERT_EQ(found.getNumItems(), 1);
  EXPECT_EQ(found.getItem(0), &m.a);
}

TEST(SANModelLookup, VariablesAreFoundOnlyInTheNamedModel) {
  SmallModel m;
  List<BaseStateVariableClass> svs;
  List<BaseModelClass> models;
  m.model.listSVs("Other", "P", &svs, &models);
  EXPECT_EQ(svs.getNumItems(), 0);
  EXPECT_EQ(models.getNumItems(), 0);
  m.model.listSVs("Small", "Q", &svs, &models);
  m.model.listSVs("Small", "R", &svs, &models);   // read-only places are searched too
  ASSERT_EQ(svs.getNumItems(), 2);
  EXPECT_EQ(svs.getItem(0), &m.q);
  EXPECT_EQ(svs.getItem(1), &m.r);
  ASSERT_EQ(models.getNumItems(), 1);   // one entry per model
  EXPECT_EQ(models.getItem(0), &m.model);
}

TEST(SANModelStateVector, SavedBytesRestoreEveryMarking) {
  SmallModel m;
  EXPECT_EQ(m.model.StateSize(), 4);   // two 2-byte places; the read-only place is not saved
  unsigned char saved[4];
  m.model.CurrentState(saved);
  short first, second;
  std::memcpy(&first, saved, 2);
  std::memcpy(&second, saved + 2, 2);
  EXPECT_EQ(first, 258);
  EXPECT_EQ(second, -1);
  m.p.setMark(0);
  m.q.setMark(5);
  m.r.setMark(1);
  m.model.SetState(saved);
  EXPECT_EQ(m.p.getMark(), 258);
  EXPECT_EQ(m.q.getMark(), -1);
  EXPECT_EQ(m.r.getMark(), 1);   // read-only places are outside the vector
}

TEST(SANModelStateVector, CompareLooksAtEveryByte) {
  SmallModel m;
  unsigned char a[4], b[4];
  m.model.CurrentState(a);
  std::memcpy(b, a, 4);
  EXPECT_TRUE(m.model.CompareState(a, a));
  EXPECT_TRUE(m.model.CompareState(a, b));
  b[3] ^= 1;
  EXPECT_FALSE(m.model.CompareState(a, b));
}

TEST(SANModelStateVector, ModelWithoutPlacesHasNoLocalState) {
  SANModel model;
  model.initializeSANModelNow("Empty", 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr);
  EXPECT_EQ(model.StateSize(), 0);
  EXPECT_FALSE(model.HasLocalState());
}

TEST(SANModelStateVector, SavedStateObjectRestoresTheModel) {
  SmallModel m;
  EXPECT_TRUE(m.model.HasLocalState());
  State* saved = nullptr;
  m.model.ConstructLocalState(saved);
  m.model.GetLocalState(saved);
  m.p.setMark(3);
  m.model.SetLocalState(saved);
  EXPECT_EQ(m.p.getMark(), 258);
  m.model.DestructLocalState(saved);
  m.model.DestructLocalState(nullptr);
}

TEST(SANModelPrinting, PrintStateShowsTheModelThenEachPlaceIndented) {
  SmallModel m;
  std::ostringstream out;
  m.model.printState(&out);
  EXPECT_EQ(out.str(), "Model: (" + std::to_string(m.model.getId()) +
                           ")Small\n  P = 258\n  Q = -1\n  R = 7\n");
}

TEST(SANModelPrinting, ModelInfoListsActionsGroupsAndPlaces) {
  SmallModel m;
  m.a.addEnablingSV(&m.p);
  testing::internal::CaptureStdout();
  m.model.PrintSANModelInfo();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "SANModelInfo\n"
            "Number of Actions = 2, Number of Groups = 1, Number of State Variables = 3\n"
            "ActionName = A\nGroup Id = 0\nDistributionType = 1\nExecutionPolicy = 1\n"
            "Number of affected state variables = 0\nNumber of enabling state variables = 1\n"
            "ActionName = B\nGroup Id = 0\nDistributionType = 1\nExecutionPolicy = 1\n"
            "Number of affected state variables = 0\nNumber of enabling state variables = 0\n"
            "\n"
            "Group Name = A \n"
            "Place Name = P\nPlace Name = Q\n"
            "Read Only Place Name = R\n");
}

TEST(SANModelActions, ActionsTouchingAVariableHeldElsewhereAreGlobal) {
  SmallModel m;
  StubActivity foreign("F");
  m.model.AddAffectArc(&m.q, &m.b);
  m.model.AddEnableArc(&m.q, &m.a);
  m.q.appendEnabledAction(&foreign);   // not one of the model's actions
  m.model.AddAffectArc(&m.p, &m.a);
  m.q.setStored(false);                // Q's value now lives in another model
  std::forward_list<BaseActionClass*> global, local;
  m.model.GetGlobalActions(global);
  // Both A and B touch Q; they come out in descending address order.
  BaseActionClass* high = std::max<BaseActionClass*>(&m.a, &m.b, std::less<BaseActionClass*>());
  BaseActionClass* low = std::min<BaseActionClass*>(&m.a, &m.b, std::less<BaseActionClass*>());
  std::forward_list<BaseActionClass*> expected{high, low};
  EXPECT_EQ(global, expected);
  m.model.GetLocalActions(local);
  EXPECT_TRUE(local.empty());
  m.q.setStored(true);
}

TEST(SANModelActions, LocalActionsComeOutInReverseModelOrder) {
  SmallModel m;
  std::forward_list<BaseActionClass*> global, local;
  m.model.GetGlobalActions(global);
  EXPECT_TRUE(global.empty());
  m.model.GetLocalActions(local);
  std::forward_list<BaseActionClass*> expected{&m.b, &m.a};
  EXPECT_EQ(local, expected);
}

TEST(LocalStateBytes, HashWeighsSignedBytesByPrimes) {
  SANModel two;
  Place p("P", 0);
  BaseStateVariableClass* places[] = {&p};
  two.initializeSANModelNow("Two", 1, places, 0, nullptr, 0, nullptr, 0, nullptr);
  SANModel::LocalState s(&two);
  fill(s, {0x01, 0x02});
  EXPECT_EQ(s.hash(), 8);   // 1 x 2 + 2 x 3
  s.state[0] = 0xFF;
  s.state[1] = 0x00;
  EXPECT_EQ(s.hash(), -2);  // (-1) x 2
  s.state[1] = 0x80;
  EXPECT_EQ(s.hash(), -2 - 128 * 3);
}

TEST(LocalStateBytes, CompareAndAssignWorkOnTheBytes) {
  SmallModel m;
  SANModel::LocalState a(&m.model);
  fill(a, {1, 2, 3, 4});
  SANModel::LocalState b(&m.model);
  fill(b, {1, 2, 3, 5});
  EXPECT_EQ(a.compare(a), 0);
  EXPECT_NE(a.compare(b), 0);
  b = a;
  EXPECT_EQ(a.compare(b), 0);
  EXPECT_EQ(b.state[3], 4);
  testing::internal::CaptureStdout();
  b.print();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "    1    2    3    4\n");
}

TEST(LocalStateFiles, WrittenStateReadsBackIntoAnEqualState) {
  SmallModel m;
  SANModel::LocalState out(&m.model);
  fill(out, {9, 8, 7, 6});
  SANModel::LocalState in(&m.model);
  fill(in, {0, 0, 0, 0});
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(out.fwriteState(file), 0);
  EXPECT_EQ(std::ftell(file), 8);   // a 4-byte size, then 4 bytes
  std::rewind(file);
  EXPECT_EQ(in.freadState(file), 0);
  EXPECT_EQ(in.compare(out), 0);
  EXPECT_EQ(in.freadState(file), 1);   // nothing left to read
  std::fclose(file);
}

TEST(LocalStateFiles, SizeMismatchFailsWithoutTouchingTheBuffer) {
  SmallModel m;
  SANModel bigger;
  Place a("a", 0), b("b", 0), c("c", 0);
  BaseStateVariableClass* places[] = {&a, &b, &c};
  bigger.initializeSANModelNow("Big", 3, places, 0, nullptr, 0, nullptr, 0, nullptr);
  SANModel::LocalState six(&bigger);
  fill(six, {1, 2, 3, 4, 5, 6});
  SANModel::LocalState four(&m.model);
  fill(four, {0, 0, 0, 0});
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(six.fwriteState(file), 0);
  std::rewind(file);
  EXPECT_EQ(four.freadState(file), 1);
  for (int i = 0; i < 4; i++) EXPECT_EQ(four.state[i], 0);
  std::fclose(file);
}
