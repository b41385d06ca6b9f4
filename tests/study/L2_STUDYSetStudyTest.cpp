#include "Study/L2_STUDY/L2_STUDYSetStudy.h"

#include <gtest/gtest.h>

#include <string>

#include "rewards/PVModel.h"

namespace {

TEST(ExampleStudy, HasOneExperimentNoVariablesAndItsRoot) {
  L2_STUDYSetStudy study;
  EXPECT_EQ(study.GetNumExps(), 1u);
  EXPECT_EQ(study.GetNumGVs(), 0u);
  EXPECT_STREQ(study.GetDefaultTavrinRoot(), "c:/Tavrin-2.5/");
  testing::internal::CaptureStdout();
  study.PrintGlobalValues(0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "There are no global variables.\n");
}

TEST(ExampleStudy, EveryOverrideIsReportedAsAMissingVariable) {
  L2_STUDYSetStudy study;
  char overrides[] = "d:Rate:2.5:i:Size:4";
  testing::internal::CaptureStderr();
  study.overrideGVs(overrides);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "!! L2_STUDYSetStudy::OverrideGVValue: Global Variable Rate does not exist.\n"
            "!! L2_STUDYSetStudy::OverrideGVValue: Global Variable Size does not exist.\n");
}

TEST(ExampleStudy, AskingForAVariableReportsItMissingAndGivesNull) {
  L2_STUDYSetStudy study;
  char name[] = "Rate";
  testing::internal::CaptureStderr();
  EXPECT_EQ(study.GetGVValue(name), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "!! L2_STUDYSetStudy::GetGVValue: Global Variable Rate does not exist.\n");
}

TEST(ExampleStudy, EachRewardModelReplacesThePreviousOne) {
  L2_STUDYSetStudy study;
  PVModel* first = study.GetPVModel(true);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(study.ThePVModel, first);
  PVModel* second = study.GetPVModel(true);
  EXPECT_EQ(study.ThePVModel, second);
  // The new model's variable indexes the new actions' reward data from 0 again.
  EXPECT_EQ(second->getPVList()[0]->id, 0);
  EXPECT_EQ(second->getNumPVs(), 1);
}

TEST(ExampleStudy, GenerateStudyMakesOneStudyUntilDestructed) {
  BaseStudyClass* study = GenerateStudy();
  ASSERT_NE(study, nullptr);
  EXPECT_EQ(GlobalStudyPtr, study);
  EXPECT_EQ(GenerateStudy(), study);
  study->GetPVModel(true);
  DestructStudy();
  EXPECT_EQ(GlobalStudyPtr, nullptr);
  DestructStudy();
  EXPECT_EQ(GlobalStudyPtr, nullptr);
}

}  // namespace
