#include "ResultsWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// results.json gives a numeric global as a JSON number and any other text as a string, so
// a reader can use the values as the model did.
TEST(ResultsWriter, JsonGivesNumericGlobalsAsNumbersAndOtherTextAsStrings) {
  ExperimentRun run(0, "e",
                    {{"numMachines", "5"}, {"lambda", "0.5"}, {"tiny", "-1.5e-07"}, {"mode", "fast"},
                     {"code", "007"}, {"ratio", "1/2"}, {"dot", "1."}, {"sign", "+3"}},
                    ExperimentRun::Settings(), nullptr);
  run.Finish("stopped");
  std::string path = testing::TempDir() + "tavrin_results_writer.json", error;
  ASSERT_TRUE(ResultsWriter::WriteJson(path, {&run}, 0.95, error)) << error;
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::string json = text.str();
  EXPECT_NE(json.find("\"numMachines\": 5,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"lambda\": 0.5,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"tiny\": -1.5e-07,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"mode\": \"fast\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"code\": \"007\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"ratio\": \"1/2\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"dot\": \"1.\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"sign\": \"+3\""), std::string::npos) << json;
}
