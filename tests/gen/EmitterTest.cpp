#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Generator.h"
#include "ModelReader.h"

// What the generator emits from a model: code pieces under #line directives that point at
// the model file and back, the same bytes for the same input, and the study description.

namespace {

const char* const kModel = R"m(model = "E"
[globals]
lambda = "double"
K = "int"
[places]
Queue = "K / 2"
[activity.Arrival]
distribution = { exponential = "lambda" }
enabled = '''
Queue->Mark() < K
'''
fire = "Queue->Mark()++;"
policy = "race_age"
[activity.Serve]
distribution = { erlang = [2, "1.0 / lambda"] }
input = { Queue = 2 }
[[activity.Serve.case]]
probability = 0.25
[[activity.Serve.case]]
probability = 0.75
output = { Queue = 1 }
[reward.Length]
kind = "instant_of_time"
times = ["1", "K"]
rate = "Queue->Mark()"
[reward.Served]
kind = "time_averaged_interval_of_time"
start = 0
stop = "lambda * 10"
impulse = { Serve = "2" }
[study]
K = [10, 20]
lambda = 0.5
)m";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace

TEST(Emitter, EveryLineDirectiveMapsToTheModelFileOrBackToTheGeneratedLine) {
  GeneratedFiles files = GenerateModel(ReadModelText(kModel, "e.toml"));
  std::vector<std::string> model = Lines(kModel);
  int pieces = 0;
  for (const auto& [path, content] : files.Files) {
    std::vector<std::string> lines = Lines(content);
    for (size_t i = 0; i < lines.size(); i++) {
      int target = 0;
      char file[256] = {0};
      if (std::sscanf(lines[i].c_str(), "#line %d \"%255[^\"]\"", &target, file) != 2) continue;
      if (std::string(file) == "e.toml") {
        // The line that follows is the code written on that line of the model file.
        ASSERT_LT(i + 1, lines.size());
        ASSERT_LE(target, static_cast<int>(model.size()));
        EXPECT_NE(model[target - 1].find(lines[i + 1]), std::string::npos)
            << path << ":" << i + 2 << " '" << lines[i + 1] << "' is not on line " << target;
        pieces++;
      } else {
        EXPECT_EQ(std::string(file), path);
        EXPECT_EQ(target, static_cast<int>(i) + 2) << path << ":" << i + 1;
      }
    }
  }
  EXPECT_GT(pieces, 10);
}

TEST(Emitter, TheSameModelGivesTheSameBytes) {
  GeneratedFiles a = GenerateModel(ReadModelText(kModel, "e.toml"));
  GeneratedFiles b = GenerateModel(ReadModelText(kModel, "e.toml"));
  EXPECT_EQ(a.Files, b.Files);
}

TEST(Emitter, CasesBecomeAPostselectGroupAndImpulsesAreEarnedByEachCase) {
  GeneratedFiles files = GenerateModel(ReadModelText(kModel, "e.toml"));
  const std::string& san = files.Files.at("Atomic/E/ESAN.cpp");
  EXPECT_NE(san.find("ServeGroup.appendGroup(&Serve_Case1);"), std::string::npos);
  EXPECT_NE(san.find("ServeGroup.appendGroup(&Serve_Case2);"), std::string::npos);
  EXPECT_NE(san.find("BaseGroupClass* groups[] = {&Arrival, &ServeGroup};"), std::string::npos);
  EXPECT_NE(san.find("Activity* activities[] = {&Arrival, &Serve_Case1, &Serve_Case2};"), std::string::npos);
  EXPECT_NE(san.find("ActivityInitialize(\"Arrival\", 0, Exponential, RaceAge, 1, 1, false);"), std::string::npos);
  EXPECT_NE(san.find("ActivityInitialize(\"Serve_Case2\", 1, Erlang, RaceEnabled, 1, 1, false);"),
            std::string::npos);
  EXPECT_NE(san.find("(*Queue_Tavrin_Mark >= 2)"), std::string::npos);
  const std::string& node = files.Files.at("Reward/E_REWARD/E_REWARDPV1.cpp");
  EXPECT_NE(node.find("AddImpulse(\"Serve_Case1\", \"E\", new E_REWARDPV1Impulse0());"), std::string::npos);
  EXPECT_NE(node.find("AddImpulse(\"Serve_Case2\", \"E\", new E_REWARDPV1Impulse0());"), std::string::npos);
  EXPECT_NE(node.find("TIMEAVE_INTERVAL_OF_TIME, 1, startpts, stoppts, timeindex, 2, 0, 0);"), std::string::npos);
}

TEST(Emitter, StudyDescriptionListsExperimentsAndVariablesWithTheirResultFileIndices) {
  GeneratedFiles files = GenerateModel(ReadModelText(kModel, "e.toml"));
  EXPECT_EQ(files.Files.at("E.study.json"),
            R"m({
  "model": "E",
  "globals": [ { "name": "lambda", "type": "double" }, { "name": "K", "type": "int" } ],
  "experiments": [
    { "index": 0, "name": "K=10", "values": { "lambda": 0.5, "K": 10 } },
    { "index": 1, "name": "K=20", "values": { "lambda": 0.5, "K": 20 } }
  ],
  "rewards": [
    { "index": 0, "name": "Length", "kind": "instant_of_time", "times": ["1", "K"] },
    { "index": 2, "name": "Served", "kind": "time_averaged_interval_of_time", "start": "0", "stop": "lambda * 10" }
  ]
}
)m");
}

TEST(Emitter, TheAllSourcesFileIncludesEveryGeneratedSource) {
  GeneratedFiles files = GenerateModel(ReadModelText(kModel, "e.toml"));
  const std::string& all = files.Files.at(kAllSourcesFile);
  int sources = 0;
  for (const auto& [path, content] : files.Files) {
    if (path.size() < 4 || path.compare(path.size() - 4, 4, ".cpp") != 0 || path == kAllSourcesFile) continue;
    sources++;
    EXPECT_NE(all.find("#include \"" + path + "\""), std::string::npos) << path;
  }
  // The atomic model, the reward model, two nodes, one worker, one impulse, the study.
  EXPECT_EQ(sources, 7);
}
