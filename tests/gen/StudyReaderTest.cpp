#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Format.h"
#include "ModelError.h"
#include "ModelReader.h"

// The expansion of a study into experiments: order, names and values.

namespace {

Model WithStudy(const std::string& globals, const std::string& study) {
  std::string text = "model = \"S\"\n[globals]\n" + globals +
                     "[places]\nP = 0\n[activity.A]\ndistribution = \"instantaneous\"\n"
                     "[reward.R]\nkind = \"instant_of_time\"\ntimes = [0]\nrate = \"1\"\n" +
                     study;
  return ReadModelText(text, "s.toml");
}

std::vector<std::string> Names(const Model& m) {
  std::vector<std::string> names;
  for (const Experiment& e : m.experiments) names.push_back(e.name);
  return names;
}

}  // namespace

TEST(StudyExpansion, CartesianProductWithTheFirstWrittenGlobalVaryingSlowest) {
  Model m = WithStudy("lambda = \"double\"\nK = \"int\"\nmu = \"double\"\n",
                      "[study]\nmu = 1.0\nK = [10, 100]\nlambda = { from = 0.5, to = 0.9, step = 0.2 }\n");
  EXPECT_EQ(Names(m), (std::vector<std::string>{"K=10,lambda=0.5", "K=10,lambda=0.7", "K=10,lambda=0.9",
                                                "K=100,lambda=0.5", "K=100,lambda=0.7", "K=100,lambda=0.9"}));
  // Values stay in the globals' order, whatever the order of the study.
  EXPECT_EQ(m.experiments[4].values[0].real, 0.7);   // lambda, tidied to the double nearest 0.7
  EXPECT_EQ(m.experiments[4].values[1].whole, 100);
  EXPECT_EQ(m.experiments[4].values[2].real, 1.0);
}

TEST(StudyExpansion, RangesByFactorAndWholeNumberSteps) {
  Model m = WithStudy("n = \"int\"\nx = \"double\"\n",
                      "[study]\nx = { from = 1, to = 100, factor = 10 }\nn = { from = 2, to = 6, step = 2 }\n");
  ASSERT_EQ(m.experiments.size(), 9u);
  EXPECT_EQ(m.experiments[0].name, "x=1,n=2");
  EXPECT_EQ(m.experiments[8].name, "x=100,n=6");
  EXPECT_EQ(m.experiments[8].values[1].real, 100.0);
}

TEST(StudyExpansion, OneExperimentNamedBaseWhenNothingVaries) {
  Model m = WithStudy("x = \"double\"\n", "[study]\nx = 2\n");
  EXPECT_EQ(Names(m), std::vector<std::string>{"base"});
  EXPECT_EQ(m.experiments[0].values[0].real, 2.0);
  EXPECT_EQ(Names(WithStudy("", "")), std::vector<std::string>{"base"});
}

TEST(StudyExpansion, ExplicitExperimentsInFileOrderTakeSharedValuesFromTheStudy) {
  Model m = WithStudy("a = \"double\"\nb = \"bool\"\nc = \"char\"\n",
                      "[study]\nb = true\n[[experiment]]\nname = \"one\"\na = 1\nc = \"x\"\n"
                      "[[experiment]]\nname = \"two\"\na = 2\nb = false\nc = 65\n");
  EXPECT_EQ(Names(m), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(m.experiments[0].values[1].whole, 1);
  EXPECT_EQ(m.experiments[0].values[2].whole, 'x');
  EXPECT_EQ(m.experiments[1].values[1].whole, 0);
  EXPECT_EQ(m.experiments[1].values[2].whole, 65);
}

TEST(StudyExpansion, RefusesRangesBesideExplicitExperimentsAndDuplicateExperimentNames) {
  EXPECT_THROW(WithStudy("a = \"double\"\n", "[study]\na = [1, 2]\n[[experiment]]\nname = \"one\"\n"), ModelError);
  EXPECT_THROW(WithStudy("a = \"double\"\n", "[[experiment]]\nname = \"one\"\na = 1\n[[experiment]]\nname = \"one\"\na = 2\n"),
               ModelError);
  EXPECT_THROW(WithStudy("a = \"double\"\n", "[[experiment]]\na = 1\n"), ModelError);
  EXPECT_THROW(WithStudy("a = \"double\"\n", "[study]\nb = 1\n"), ModelError);
  EXPECT_THROW(WithStudy("a = \"int\"\n", "[study]\na = { from = 1, to = 2, step = 0.5 }\n"), ModelError);
  EXPECT_THROW(WithStudy("a = \"double\"\n", "[study]\na = { from = 1, to = 2 }\n"), ModelError);
}

TEST(ValueTexts, ShortestRoundTripInEveryForm) {
  EXPECT_EQ(FormatDouble(0.1), "0.1");
  EXPECT_EQ(FormatDouble(1000.0), "1000.0");
  EXPECT_EQ(FormatDouble(1e-12), "1e-12");
  EXPECT_EQ(FormatDouble(0.1 + 0.2), "0.30000000000000004");
  Value f{GlobalType::Float, 0.1, 0};
  EXPECT_EQ(CppLiteral(f), "0.1f");
  EXPECT_EQ(JsonLiteral(f), "0.1");
  Value l{GlobalType::Long, 0.0, 7};
  EXPECT_EQ(CppLiteral(l), "7L");
  Value b{GlobalType::Bool, 0.0, 1};
  EXPECT_EQ(JsonLiteral(b), "true");
  Value d{GlobalType::Double, 2.0, 0};
  EXPECT_EQ(DisplayValue(d), "2");
  EXPECT_EQ(QuotedString("a\"b\\c\n"), "\"a\\\"b\\\\c\\n\"");
}
