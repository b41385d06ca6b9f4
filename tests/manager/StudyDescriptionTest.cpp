#include "StudyDescription.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string WriteTemp(const std::string& text) {
  char name[] = "/tmp/tavrin_study_XXXXXX";
  int fd = mkstemp(name);
  close(fd);
  std::ofstream(name) << text;
  return name;
}

}  // namespace

// The fixture of the M/M/1/K study: globals in order, experiments with their values, and
// which variables a steady-state or terminating run observes.
TEST(StudyDescription, ReadsTheMm1kStudy) {
  StudyDescription study;
  std::string error;
  ASSERT_EQ(StudyDescription::Read(TAVRIN_TEST_FIXTURES "/mm1k_sim.study.json", study, error), 0) << error;
  EXPECT_EQ(study.model, "MM1K");
  ASSERT_EQ(study.globals.size(), 6u);
  EXPECT_EQ(study.globals[2], std::make_pair(std::string("K"), std::string("int")));
  ASSERT_EQ(study.experiments.size(), 4u);
  EXPECT_EQ(study.experiments[3].values[2], std::make_pair(std::string("K"), std::string("100")));
  EXPECT_EQ(study.VariableName(3), "Blocking");
  EXPECT_TRUE(study.Observes(0, true));
  EXPECT_FALSE(study.Observes(0, false));
  EXPECT_TRUE(study.Observes(5, false));
  EXPECT_EQ(study.VariableName(9), "");
}

// An instant-of-time variable takes one result-file index per time, named by its time.
TEST(StudyDescription, InstantWithSeveralTimesTakesOneIndexPerTime) {
  std::string path = WriteTemp(R"({"model": "M", "globals": [], "experiments": [],
    "rewards": [ { "index": 0, "name": "A", "kind": "instant_of_time", "times": ["1", "horizon"] },
                 { "index": 2, "name": "B", "kind": "interval_of_time", "start": "0", "stop": "1" } ]})");
  StudyDescription study;
  std::string error;
  ASSERT_EQ(StudyDescription::Read(path, study, error), 0) << error;
  EXPECT_EQ(study.VariableName(1), "A@horizon");
  EXPECT_EQ(study.VariableName(2), "B");
  std::remove(path.c_str());
}

TEST(StudyDescription, RefusesAMalformedFileNamingIt) {
  std::string path = WriteTemp(R"({"model": "M", "rewards": [ { "index": 0, "name": "A", "kind": "sometimes" } ]})");
  StudyDescription study;
  std::string error;
  EXPECT_EQ(StudyDescription::Read(path, study, error), 1);
  EXPECT_NE(error.find(path), std::string::npos);
  std::remove(path.c_str());
}
