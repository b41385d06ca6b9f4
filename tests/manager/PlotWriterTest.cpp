#include "PlotWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<ExperimentRun> MakeRun(int number, std::vector<std::pair<std::string, std::string>> globals) {
  return std::unique_ptr<ExperimentRun>(
      new ExperimentRun(number, "e", std::move(globals), ExperimentRun::Settings(), nullptr));
}

}  // namespace

// A plot against a global is drawn only when exactly one numeric global differs between
// the experiments run.
TEST(PlotWriter, PlotsAgainstTheOneNumericGlobalThatVaries) {
  auto a = MakeRun(0, {{"lambda", "0.5"}, {"K", "10"}}), b = MakeRun(1, {{"lambda", "0.8"}, {"K", "10"}}),
       c = MakeRun(2, {{"lambda", "0.8"}, {"K", "100"}}), d = MakeRun(3, {{"lambda", "high"}, {"K", "10"}});
  EXPECT_EQ(PlotWriter::VaryingGlobal({a.get(), b.get()}), "lambda");
  EXPECT_EQ(PlotWriter::VaryingGlobal({a.get(), b.get(), c.get()}), "");
  EXPECT_EQ(PlotWriter::VaryingGlobal({a.get(), d.get()}), "");
  EXPECT_EQ(PlotWriter::VaryingGlobal({a.get()}), "");
}
