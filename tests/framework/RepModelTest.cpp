#include "framework/composed/RepModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ComposedTestModels.h"
#include "framework/BaseActionClass.h"
#include "framework/BaseGroupClass.h"

namespace {

CellSAN* Copy(RepModel& cells, int i) { return static_cast<CellSAN*>(cells.GetChild(i)); }

std::vector<std::string> QualifiedNames(List<BaseStateVariableClass>& variables) {
  std::vector<std::string> names;
  for (int i = 0; i < variables.getNumItems(); i++)
    names.push_back(variables[i]->getFullyQualifiedName());
  return names;
}

}  // namespace

TEST(RepModelSharing, SharedPlaceIsOneValueAndOtherPlacesStayPerCopy) {
  std::unique_ptr<RepModel> cells(MakeCells(4));
  Copy(*cells, 0)->common->Mark() = 7;
  Copy(*cells, 1)->own->Mark() = 9;
  EXPECT_EQ(Copy(*cells, 3)->common->getMark(), 7);
  EXPECT_EQ(Copy(*cells, 0)->own->getMark(), 1);
  EXPECT_EQ(Copy(*cells, 3)->own->getMark(), 1);
  // The model holds the value in its own variable; the copies' places are members.
  ASSERT_EQ(cells->getNumSharedStateVariables(), 1);
  BaseStateVariableClass* common = cells->GetSharedStateVariables()[0];
  EXPECT_TRUE(common->getStored());
  EXPECT_FALSE(Copy(*cells, 2)->common->getStored());
  EXPECT_TRUE(Copy(*cells, 2)->common->getShared());
  EXPECT_FALSE(Copy(*cells, 2)->own->getShared());
  EXPECT_EQ(cells->getMainSharedVariable(Copy(*cells, 2)->common), common);
  EXPECT_EQ(cells->getListOfSharedVariables(common)->getNumItems(), 4);
}

// One copy is a legitimate count (one machine sharing its repair crew with nobody yet):
// the shared variable then holds that copy's place alone.
TEST(RepModelSharing, OneCopySharesItsPlaceWithItself) {
  std::unique_ptr<RepModel> cells(MakeCells(1));
  ASSERT_EQ(cells->getNumSharedStateVariables(), 1);
  BaseStateVariableClass* common = cells->GetSharedStateVariables()[0];
  EXPECT_EQ(cells->getListOfSharedVariables(common)->getNumItems(), 1);
  EXPECT_EQ(Copy(*cells, 0)->common->getMark(), 2);
  Copy(*cells, 0)->common->Mark() = 5;
  EXPECT_EQ(static_cast<Place*>(common)->getMark(), 5);
  EXPECT_TRUE(Copy(*cells, 0)->Take.AffectedStateVariables.contains(common));
}

TEST(RepModelSharing, SharedPlaceKeepsTheChildsInitialMarking) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  EXPECT_EQ(Copy(*cells, 2)->common->getMark(), 2);
}

// Every copy's Give reads common, so each copy's Take, which writes it, must reach all
// of them; Take is recorded against the model's variable, not its copy's place.
TEST(RepModelSharing, ActionsOfEveryCopyMeetOnTheSharedVariable) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  BaseStateVariableClass* common = cells->GetSharedStateVariables()[0];
  EXPECT_EQ(common->getNumEnabledActions(), 3);
  EXPECT_EQ(common->getNumAffectingActions(), 6);   // Take and Give of three copies
  for (int i = 0; i < 3; i++) {
    EXPECT_TRUE(common->getEnabledActions()->contains(&Copy(*cells, i)->Give));
    EXPECT_TRUE(Copy(*cells, i)->Take.AffectedStateVariables.contains(common));
    EXPECT_FALSE(Copy(*cells, i)->Take.AffectedStateVariables.contains(Copy(*cells, i)->common));
  }
}

TEST(RepModelStructure, ActionsAndGroupsOfEveryCopyWithGroupIndicesIntoTheWholeList) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  EXPECT_EQ(cells->GetModelType(), BaseModelClass::RepModel);
  EXPECT_EQ(cells->GetNumberOfChildren(), 3);
  ASSERT_EQ(cells->getNumActions(), 6);
  ASSERT_EQ(cells->getNumGroups(), 6);
  // Copy 1's Take and Give come after copy 0's two groups.
  EXPECT_EQ(cells->getActionList()[2], &Copy(*cells, 1)->Take);
  EXPECT_EQ(Copy(*cells, 1)->Take.getGroupId(), 2);
  EXPECT_EQ(Copy(*cells, 1)->Give.getGroupId(), 3);
  for (int a = 0; a < 6; a++) {
    BaseActionClass* action = cells->getActionList()[a];
    EXPECT_EQ(cells->getGroupList()[action->getGroupId()], action);
  }
  List<BaseGroupClass> groups;
  cells->listGroups(&groups);
  EXPECT_EQ(groups.getNumItems(), 6);
}

// Layout: the shared common (2 bytes), then each copy's unshared own (2 bytes).
TEST(RepModelStateVector, SharedValueFirstThenEachCopysLocalPlaces) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  ASSERT_EQ(cells->StateSize(), 8);
  Copy(*cells, 0)->common->Mark() = 300;
  Copy(*cells, 2)->own->Mark() = 4;
  short saved[4];
  cells->CurrentState(saved);
  EXPECT_EQ(saved[0], 300);
  EXPECT_EQ(saved[1], 1);
  EXPECT_EQ(saved[2], 1);
  EXPECT_EQ(saved[3], 4);

  Copy(*cells, 1)->common->Mark() = 0;
  Copy(*cells, 2)->own->Mark() = 0;
  short changed[4];
  cells->CurrentState(changed);
  EXPECT_FALSE(cells->CompareState(saved, changed));
  cells->SetState(saved);
  EXPECT_EQ(Copy(*cells, 1)->common->getMark(), 300);
  EXPECT_EQ(Copy(*cells, 2)->own->getMark(), 4);
  cells->CurrentState(changed);
  EXPECT_TRUE(cells->CompareState(saved, changed));
}

TEST(RepModelStateVector, SavedStateObjectRestoresTheWholeModel) {
  std::unique_ptr<RepModel> cells(MakeCells(2));
  State* state = nullptr;
  cells->ConstructLocalState(state);
  cells->GetLocalState(state);
  Copy(*cells, 1)->own->Mark() = 3;
  Copy(*cells, 0)->common->Mark() = 9;
  cells->SetLocalState(state);
  EXPECT_EQ(Copy(*cells, 1)->own->getMark(), 1);
  EXPECT_EQ(Copy(*cells, 0)->common->getMark(), 2);
  EXPECT_TRUE(cells->HasLocalState());
  cells->DestructLocalState(state);
}

TEST(RepModelNames, EveryPlaceIsQualifiedByItsCopysPath) {
  std::unique_ptr<RepModel> cells(MakeCells(12));
  EXPECT_STREQ(Copy(*cells, 11)->own->getFullyQualifiedName(), "Cells.Cell[11].own");
  EXPECT_STREQ(Copy(*cells, 0)->common->getFullyQualifiedName(), "Cells.Cell[0].common");
  EXPECT_STREQ(cells->GetSharedStateVariables()[0]->getFullyQualifiedName(), "Cells.common");
}

// Every copy runs the same code, so a message about an activity names the copy it fired
// in; an activity of a model that is no part of a composed one needs no path.
TEST(RepModelNames, AnActivityOfACopyIsNamedWithItsCopysPathInMessages) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  EXPECT_EQ(static_cast<CellSAN*>(cells->GetChild(1))->Take.InstanceNote(), " in Cells.Cell[1]");
  CellSAN alone;
  EXPECT_EQ(alone.Take.InstanceNote(), "");
}

TEST(RepModelNames, ModelNameListsEveryCopyAndAPathListsOne) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  List<BaseModelClass> all;
  cells->listModels("Cell", &all);
  ASSERT_EQ(all.getNumItems(), 3);
  EXPECT_EQ(all[2], cells->GetChild(2));
  List<BaseModelClass> one;
  cells->listModels("Cells.Cell[1]", &one);
  ASSERT_EQ(one.getNumItems(), 1);
  EXPECT_EQ(one[0], cells->GetChild(1));
  List<BaseModelClass> none;
  for (const char* path : {"Cells.Cell[3]", "Cells.Cell[01]", "Cells.Cell[x]", "Other.Cell[1]"})
    cells->listModels(path, &none);
  EXPECT_EQ(none.getNumItems(), 0);
  List<BaseModelClass> itself;
  cells->listModels("Cells", &itself);
  ASSERT_EQ(itself.getNumItems(), 1);
  EXPECT_EQ(itself[0], cells.get());
}

TEST(RepModelNames, VariablesByModelNameOrByInstancePath) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  List<BaseStateVariableClass> variables;
  List<BaseModelClass> models;
  cells->listSVs("Cell", "own", &variables, &models);
  EXPECT_EQ(QualifiedNames(variables),
            (std::vector<std::string>{"Cells.Cell[0].own", "Cells.Cell[1].own", "Cells.Cell[2].own"}));
  ASSERT_EQ(models.getNumItems(), 3);
  EXPECT_EQ(models[1], cells->GetChild(1));

  List<BaseStateVariableClass> one;
  List<BaseModelClass> itsModel;
  cells->listSVs("Cells.Cell[2]", "common", &one, &itsModel);
  EXPECT_EQ(QualifiedNames(one), (std::vector<std::string>{"Cells.Cell[2].common"}));
  ASSERT_EQ(itsModel.getNumItems(), 1);
  EXPECT_EQ(itsModel[0], cells->GetChild(2));

  List<BaseStateVariableClass> shared;
  List<BaseModelClass> holder;
  cells->listSVs("Cells", "common", &shared, &holder);
  EXPECT_EQ(QualifiedNames(shared), (std::vector<std::string>{"Cells.common"}));
}

TEST(RepModelNames, ActionsByNameOrByQualifiedName) {
  std::unique_ptr<RepModel> cells(MakeCells(3));
  List<BaseActionClass> all;
  cells->listActions("Give", &all);
  ASSERT_EQ(all.getNumItems(), 3);
  EXPECT_EQ(all[2], &Copy(*cells, 2)->Give);
  List<BaseActionClass> one;
  cells->listActions("Cells.Cell[1].Take", &one);
  ASSERT_EQ(one.getNumItems(), 1);
  EXPECT_EQ(one[0], &Copy(*cells, 1)->Take);
  List<BaseActionClass> none;
  cells->listActions("Cells.Cell[1].Fly", &none);
  cells->listActions("Fly", &none);
  EXPECT_EQ(none.getNumItems(), 0);
}

// A model of many copies sharing one place is built in time linear in the copies: this
// would take minutes if each copy's sharing walked the actions of all the copies before it.
TEST(RepModelScale, TwentyThousandCopiesShareOnePlace) {
  std::unique_ptr<RepModel> cells(MakeCells(20000));
  BaseStateVariableClass* common = cells->GetSharedStateVariables()[0];
  EXPECT_EQ(common->getNumEnabledActions(), 20000);
  EXPECT_EQ(cells->StateSize(), 2 + 2 * 20000);
  List<BaseModelClass> all;
  cells->listModels("Cell", &all);
  EXPECT_EQ(all.getNumItems(), 20000);
}

TEST(RepModelFaults, ACountOutsideOneToTheMostCopiesEndsTheRunWithAMessage) {
  EXPECT_EXIT(MakeCells(0), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Cells: the number of copies must be at least 1, and it is 0");
  // Refused before any copy is made, not by running out of memory.
  EXPECT_EXIT(MakeCells(RepModel::MaxCopies + 1), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Cells: the number of copies must be at most 100000000, and it is 100000001");
}

TEST(RepModelFaults, SharedNameThatNamesNoPlaceEndsTheRunWithAMessage) {
  const char* shared[] = {"nowhere"};
  EXPECT_EXIT(RepModel("Cells", 2, [] { return new CellSAN(); }, 1, shared),
              ::testing::ExitedWithCode(1),
              "ERROR: Composed model Cells: the child Cell has no place named nowhere");
}

TEST(RepModelFaults, CopiesOfDifferentModelsEndTheRunWithAMessage) {
  int made = 0;
  auto alternate = [&made]() -> BaseModelClass* {
    if (made++ == 0) return new CellSAN();
    return new PoolSAN();
  };
  EXPECT_EXIT(RepModel("Mixed", 2, alternate, 0, nullptr), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Mixed: copy 1 \\(Pool\\) is not the same model as copy 0 "
              "\\(Cell\\)");
}

TEST(RepModelFaults, ChildBuiltBeforeTheModelEndsTheRunWithAMessage) {
  auto early = std::make_shared<CellSAN*>(new CellSAN());
  auto handOut = [early]() -> BaseModelClass* { return *early; };
  EXPECT_EXIT(RepModel("Late", 1, handOut, 0, nullptr), ::testing::ExitedWithCode(1),
              "ERROR: Composed model Late: child Cell was built before the composed model");
  delete *early;
}
