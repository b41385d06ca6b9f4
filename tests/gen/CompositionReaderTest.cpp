#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "EmitSupport.h"
#include "Generator.h"
#include "ModelError.h"
#include "ModelReader.h"

// Composed model files: submodels, the composition tree and rewards on submodels are read
// in file order, and every fault of a composition is refused at its place with what is
// wrong.

namespace {

namespace fs = std::filesystem;

// Copies of a cell (one place of its own, one shared by all) joined with a pool.
const char* const kComposed = R"m(model = "SYS"
[globals]
n = "int"
rate = "double"
[submodel.Cell]
places = { own = 1, common = 0 }
[submodel.Cell.activity.Move]
distribution = { exponential = "rate" }
input = { own = 1 }
output = { common = 1 }
[submodel.Pool]
places = { stock = 5 }
[composition.Cells]
replicate = "Cell"
count = "n"
shared = ["common"]
[composition.System]
join = ["Cells", "Pool"]
shared.store = { Pool = "stock", Cells = "common" }
[reward.Own]
submodel = "Cell"
kind = "instant_of_time"
times = [1.0]
rate = "own->Mark()"
[reward.Moves]
submodel = "Cell"
kind = "interval_of_time"
start = 0
stop = 1
impulse = { Move = 1 }
[study]
n = 3
rate = 1.0
)m";

struct Refusal {
  int line = 0;
  int column = 0;
  std::string message;
  std::string file;
};

Refusal RefusalOf(const std::string& text, const std::string& path = "m.toml") {
  try {
    ReadModelText(text, path);
  } catch (const ModelError& error) {
    return {error.Pos.line, error.Pos.column, error.what(), error.File};
  }
  ADD_FAILURE() << "the model was accepted:\n" << text;
  return {};
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

class IncludedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavrin_include_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_ / "parts");
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

}  // namespace

TEST(CompositionReader, ReadsSubmodelsTheTreeAndRewardsOnSubmodels) {
  Model m = ReadModelText(kComposed, "m.toml");
  ASSERT_TRUE(m.Composed());
  ASSERT_EQ(m.submodels.size(), 2u);
  EXPECT_EQ(m.submodels[0].name, "Cell");
  EXPECT_EQ(m.submodels[0].places.size(), 2u);
  EXPECT_EQ(m.submodels[0].globals.size(), 2u);   // the submodel's code sees the globals
  EXPECT_EQ(m.submodels[0].activities[0].affectedPlaces, (std::vector<std::string>{"own", "common"}));
  EXPECT_TRUE(m.submodels[1].activities.empty());   // a submodel may be places only
  EXPECT_EQ(m.root, "System");
  const CompositionNode* cells = m.FindNode("Cells");
  ASSERT_NE(cells, nullptr);
  EXPECT_TRUE(cells->replicate);
  EXPECT_TRUE(cells->countIsGlobal);
  EXPECT_EQ(cells->count, "n");
  const CompositionNode* system = m.FindNode("System");
  ASSERT_NE(system, nullptr);
  ASSERT_EQ(system->shared.size(), 1u);
  // The places of a shared variable keep the file's order: the first gives the marking.
  EXPECT_EQ(system->shared[0].places[0].child, "Pool");
  EXPECT_EQ(system->shared[0].places[1].child, "Cells");
  EXPECT_EQ(m.rewards[0].submodel, "Cell");
  EXPECT_EQ(m.rewards[0].ratePlaces, (std::vector<std::string>{"own"}));
  EXPECT_EQ(TopClass(m), "SystemJoin");
}

// One class per submodel and per node: the count is a run-time value, so a model of 100000
// copies is the same code as one of 3.
TEST(CompositionReader, TheGeneratedCodeDoesNotDependOnTheCount) {
  GeneratedFiles small = GenerateModel(ReadModelText(kComposed, "m.toml"));
  GeneratedFiles large = GenerateModel(ReadModelText(Replace(kComposed, "n = 3", "n = 100000"), "m.toml"));
  ASSERT_EQ(small.Files.size(), large.Files.size());
  for (const auto& [path, text] : small.Files) {
    if (path.find("Study/") == 0 || path.find(".study.json") != std::string::npos) continue;
    EXPECT_EQ(text, large.Files[path]) << path;
  }
  const std::string& composed = small.Files["Composed/SYS/SYSComposed.cpp"];
  EXPECT_NE(composed.find("initializeRepModelNow(\"Cells\", static_cast<int>(n),"), std::string::npos) << composed;
  EXPECT_NE(composed.find("{{1, \"stock\"}, {0, \"common\"}}"), std::string::npos) << composed;
  EXPECT_NE(small.Files["Reward/SYS_REWARD/SYS_REWARDPV0.cpp"].find("AddVariableDependency(\"own\", \"Cell\")"),
            std::string::npos);
  EXPECT_NE(small.Files["Reward/SYS_REWARD/SYS_REWARDPV1.cpp"].find("AddImpulse(\"Move\", \"Cell\""),
            std::string::npos);
}

TEST(CompositionReaderRefuses, UnknownChildrenPlacesAndSubmodels) {
  Refusal r = RefusalOf(Replace(kComposed, "replicate = \"Cell\"", "replicate = \"Cel\""));
  EXPECT_EQ(r.line, 14);
  EXPECT_EQ(r.message, "unknown submodel or node 'Cel'");
  r = RefusalOf(Replace(kComposed, "shared = [\"common\"]", "shared = [\"commons\"]"));
  EXPECT_EQ(r.line, 16);
  EXPECT_EQ(r.message, "'Cell' has no place 'commons' to share (it has: own, common)");
  // A join reaches a replicated child's shared variables only.
  r = RefusalOf(Replace(kComposed, "Cells = \"common\"", "Cells = \"own\""));
  EXPECT_EQ(r.line, 19);
  EXPECT_EQ(r.message, "'Cells' has no place 'own' to join (it has: common)");
  r = RefusalOf(Replace(kComposed, "{ Pool = \"stock\",", "{ Poole = \"stock\","));
  EXPECT_EQ(r.message, "'Poole' is not a child of join 'System'");
  r = RefusalOf(Replace(kComposed, "shared.store = { Pool = \"stock\", Cells = \"common\" }",
                        "shared.store = { Pool = \"stock\" }"));
  EXPECT_EQ(r.message, "shared variable 'store' must join places of two or more children");
  r = RefusalOf(Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"", "[reward.Own]\nsubmodel = \"Cells\""));
  EXPECT_EQ(r.line, 21);
  EXPECT_EQ(r.message, "'Cells' is a composition node: a reward variable reads the places and activities of an atomic submodel");
  r = RefusalOf(Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"", "[reward.Own]\nsubmodel = \"Cel\""));
  EXPECT_EQ(r.message, "unknown submodel 'Cel'");
  r = RefusalOf(Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"\n", "[reward.Own]\n"));
  EXPECT_EQ(r.message, "reward variable 'Own' has no submodel (the atomic submodel whose places and activities it reads)");
  r = RefusalOf(Replace(kComposed, "impulse = { Move = 1 }", "impulse = { Stay = 1 }"));
  EXPECT_EQ(r.message, "impulse of reward variable 'Moves' names unknown activity 'Stay' of submodel 'Cell'");
}

// A reward on one copy names it by its instance path, which the generated code hands to
// the reward model in place of the submodel's name.
TEST(CompositionReader, ARewardOnOneInstanceNamesItsPath) {
  std::string text = Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"",
                             "[reward.Own]\nsubmodel = \"Cell\"\ninstance = \"System.Cells.Cell[2]\"");
  Model m = ReadModelText(text, "m.toml");
  EXPECT_EQ(m.rewards[0].instance, "System.Cells.Cell[2]");
  EXPECT_TRUE(m.rewards[1].instance.empty());
  GeneratedFiles files = GenerateModel(m);
  const std::string& pv = files.Files["Reward/SYS_REWARD/SYS_REWARDPV0.cpp"];
  EXPECT_NE(pv.find("AddVariableDependency(\"own\", \"System.Cells.Cell[2]\")"), std::string::npos) << pv;
}

// The path must lead, node by node, to a copy of the reward's submodel that exists in every
// experiment; otherwise the simulator would find no instance and observe nothing.
TEST(CompositionReaderRefuses, InstancePathsThatNameNoInstanceOfTheSubmodel) {
  auto refusalFor = [](const std::string& path) {
    return RefusalOf(Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"",
                             "[reward.Own]\nsubmodel = \"Cell\"\ninstance = \"" + path + "\""));
  };
  const std::string own = "instance '";
  Refusal r = refusalFor("Cells.Cell[0]");
  EXPECT_EQ(r.line, 22);
  EXPECT_EQ(r.column, 12);
  EXPECT_EQ(r.message, own + "Cells.Cell[0]' of reward variable 'Own': a path begins with the top node, 'System'");
  EXPECT_EQ(refusalFor("System.Cell[0]").message,
            own + "System.Cell[0]' of reward variable 'Own': 'Cell[0]' is not a child of join 'System'");
  for (const char* path :
       {"System.Cells.Cell", "System.Cells.Cell[x]", "System.Cells.Cell[-1]", "System.Cells.Pool[0]", "System.Cells.Cell[01]"})
    EXPECT_EQ(refusalFor(path).message, own + path +
                                            "' of reward variable 'Own': below replicate 'Cells' comes a copy of "
                                            "'Cell', written Cell[i] with i from 0, no leading zeros");
  EXPECT_EQ(refusalFor("System.Cells.Cell[3]").message,
            own + "System.Cells.Cell[3]' of reward variable 'Own': experiment 'base' has 3 copies of 'Cell', "
                  "numbered from 0");
  EXPECT_EQ(RefusalOf(Replace(Replace(kComposed, "n = 3", "n = 1"), "[reward.Own]\nsubmodel = \"Cell\"",
                              "[reward.Own]\nsubmodel = \"Cell\"\ninstance = \"System.Cells.Cell[1]\""))
                .message,
            own + "System.Cells.Cell[1]' of reward variable 'Own': experiment 'base' has 1 copy of 'Cell', "
                  "numbered from 0");
  EXPECT_EQ(refusalFor("System.Pool").message,
            own + "System.Pool' of reward variable 'Own': it is an instance of submodel 'Pool', not an instance "
                  "of submodel 'Cell'");
  EXPECT_EQ(refusalFor("System.Cells").message,
            own + "System.Cells' of reward variable 'Own': it is composition node 'Cells', not an instance of "
                  "submodel 'Cell'");
  EXPECT_EQ(refusalFor("System.Cells.Cell[0].").message,
            own + "System.Cells.Cell[0].' of reward variable 'Own': submodel 'Cell' has no instances below it");
  EXPECT_EQ(refusalFor("System..Cells").message,
            own + "System..Cells' of reward variable 'Own': '' is not a child of join 'System'");
  EXPECT_EQ(refusalFor("System.Cells.Cell[0].own").message,
            own + "System.Cells.Cell[0].own' of reward variable 'Own': submodel 'Cell' has no instances below it");
}

// A rate reward over several submodels reaches each one's places through a pointer named
// after it; its worker holds one model per submodel, in the list's order.
TEST(CompositionReader, ARewardOverSeveralSubmodelsReadsEachOnesPlaces) {
  std::string text = Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"", "[reward.Own]\nsubmodel = [\"Cell\", \"Pool\"]");
  text = Replace(text, "rate = \"own->Mark()\"", "rate = \"Cell->own->Mark() * Pool->stock->Mark()\"");
  Model m = ReadModelText(text, "m.toml");
  EXPECT_EQ(m.rewards[0].readSubmodels, (std::vector<std::string>{"Cell", "Pool"}));
  EXPECT_EQ(m.rewards[0].readPlaces, (std::vector<std::vector<std::string>>{{"own"}, {"stock"}}));
  GeneratedFiles files = GenerateModel(m);
  const std::string& worker = files.Files["Reward/SYS_REWARD/SYS_REWARDPV0Worker.cpp"];
  EXPECT_NE(worker.find("TheModelPtr[1] = &Pool_Tavrin_Instance;"), std::string::npos) << worker;
  EXPECT_NE(worker.find("CellSAN* Cell = static_cast<CellSAN*>(Cell_Tavrin_Instance);"), std::string::npos) << worker;
  const std::string& pv = files.Files["Reward/SYS_REWARD/SYS_REWARDPV0.cpp"];
  EXPECT_NE(pv.find("AddVariableDependency(\"own\", \"Cell\");\n  AddVariableDependency(\"stock\", \"Pool\");"),
            std::string::npos)
      << pv;
}

TEST(CompositionReaderRefuses, ListsOfSubmodelsThatCannotMakeOneRateReward) {
  auto withList = [](const std::string& list, const std::string& reward = "Own") {
    return RefusalOf(Replace(kComposed, "[reward." + reward + "]\nsubmodel = \"Cell\"",
                             "[reward." + reward + "]\nsubmodel = " + list));
  };
  EXPECT_EQ(withList("[\"Cell\"]").message, "a list of submodels names two or more; name one submodel as a string");
  Refusal r = withList("[\"Cell\", \"Cell\"]");
  EXPECT_EQ(r.line, 21);
  EXPECT_EQ(r.column, 21);   // the second entry
  EXPECT_EQ(r.message, "submodel 'Cell' is listed twice");
  EXPECT_EQ(withList("[\"Cell\", \"Cells\"]").message,
            "'Cells' is a composition node: a reward variable reads the places and activities of an atomic submodel");
  EXPECT_EQ(withList("[\"Cell\", \"Poole\"]").message, "unknown submodel 'Poole'");
  EXPECT_EQ(withList("[\"Cell\", \"Pool\"]", "Moves").message,
            "reward variable 'Moves' reads several submodels, so it has a rate reward only (an impulse reward names "
            "the activities of one submodel)");
  EXPECT_EQ(RefusalOf(Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"",
                              "[reward.Own]\nsubmodel = [\"Cell\", \"Pool\"]\ninstance = \"System.Pool\""))
                .message,
            "reward variable 'Own' reads several submodels: an instance path names one submodel's instance");
  EXPECT_EQ(RefusalOf(Replace(Replace(kComposed, "[reward.Own]\nsubmodel = \"Cell\"",
                                      "[reward.Own]\nsubmodel = [\"Cell\", \"Pool\"]"),
                              "rate = \"own->Mark()\"\n", ""))
                .message,
            "reward variable 'Own' reads several submodels and has no rate reward");
}

TEST(CompositionReaderRefuses, CountsThatAreNoWholeNumberOfCopies) {
  Refusal r = RefusalOf(Replace(kComposed, "count = \"n\"", "count = \"rate\""));
  EXPECT_EQ(r.line, 15);
  EXPECT_EQ(r.column, 9);
  EXPECT_EQ(r.message, "count global 'rate' is a double: the number of copies must be an int, short or long");
  r = RefusalOf(Replace(kComposed, "count = \"n\"", "count = \"m\""));
  EXPECT_EQ(r.message, "count names unknown global 'm'");
  r = RefusalOf(Replace(kComposed, "count = \"n\"", "count = 0"));
  EXPECT_EQ(r.message, "count must be a whole number from 1 to 100000000");
  r = RefusalOf(Replace(kComposed, "n = 3", "n = 0"));
  EXPECT_EQ(r.line, 15);
  EXPECT_EQ(r.message, "count 'n' is 0 in experiment 'base': a replicate needs at least one copy");
  // A count global's values are held to the bound of a count written as a number.
  r = RefusalOf(Replace(kComposed, "n = 3", "n = 300000000"));
  EXPECT_EQ(r.line, 15);
  EXPECT_EQ(r.message, "count 'n' is 300000000 in experiment 'base': a replicate makes at most 100000000 copies");
}

TEST(CompositionReaderRefuses, APlaceSharedTwiceByOneReplicate) {
  Refusal r = RefusalOf(Replace(kComposed, "shared = [\"common\"]", "shared = [\"common\", \"own\", \"common\"]"));
  EXPECT_EQ(r.line, 16);
  EXPECT_EQ(r.column, 28);
  EXPECT_EQ(r.message, "place 'common' is listed twice in shared");
}

TEST(CompositionReaderRefuses, TreesThatAreNotOneTree) {
  // A cycle: the join holds the replicate, which holds the join.
  Refusal r = RefusalOf(Replace(kComposed, "replicate = \"Cell\"", "replicate = \"System\""));
  EXPECT_EQ(r.line, 18);
  EXPECT_EQ(r.message, "composition cycle: Cells -> System -> Cells");
  r = RefusalOf(std::string(kComposed) + "[composition.Other]\nreplicate = \"Pool\"\ncount = 2\n");
  EXPECT_EQ(r.message, "two top nodes, 'System' and 'Other': every node but one must be the child of another");
  r = RefusalOf(Replace(kComposed, "join = [\"Cells\", \"Pool\"]", "join = [\"Cells\", \"Cells\"]"));
  EXPECT_EQ(r.message, "'Cells' is a child of composition node 'System' twice (replicate it to have several copies)");
  r = RefusalOf(Replace(kComposed, "rate = \"double\"", "CellsRep = \"double\""));
  EXPECT_EQ(r.line, 4);
  EXPECT_EQ(r.message, "global 'CellsRep' has the name of the class of node 'Cells'");
  r = RefusalOf(Replace(kComposed, "[composition.Cells]", "[composition.Pool]"));
  EXPECT_EQ(r.message, "duplicate name 'Pool': already the name of submodel 'Pool'");
  r = RefusalOf(Replace(kComposed, "[composition.System]\njoin", "[composition.System]\nreplicate = \"Pool\"\njoin"));
  EXPECT_EQ(r.message, "composition node 'System' needs either replicate = \"CHILD\" or join = [\"CHILD\", ...]");
  // Places and activities belong to submodels in a composed model.
  r = RefusalOf(std::string(kComposed) + "[places]\nX = 1\n");
  EXPECT_EQ(r.message, "a composed model keeps its places in submodels ([submodel.NAME.places])");
  r = RefusalOf(Replace(kComposed, "[composition.Cells]", "[compositions.Cells]"));
  EXPECT_EQ(r.message.rfind("unknown key 'compositions' in the model file", 0), 0u) << r.message;
}

TEST_F(IncludedFiles, SubmodelsComeFromIncludedFilesRelativeToTheIncluder) {
  std::string cell = kComposed;
  size_t from = cell.find("[submodel.Cell]");
  size_t to = cell.find("[submodel.Pool]");
  Write(dir_ / "parts" / "cell.toml", "include = [\"pool.toml\"]\n" + cell.substr(from, to - from));
  Write(dir_ / "parts" / "pool.toml", "[submodel.Pool]\nplaces = { stock = 5 }\n");
  std::string top = cell.substr(0, from) + "include = [\"parts/cell.toml\"]\n" +
                    cell.substr(cell.find("[composition.Cells]"));
  // include after [globals] would belong to that table: it goes before the first table.
  top = Replace(top, "include = [\"parts/cell.toml\"]\n", "");
  top = Replace(top, "model = \"SYS\"\n", "model = \"SYS\"\ninclude = [\"parts/cell.toml\"]\n");
  Write(dir_ / "sys.toml", top);
  Model m = ReadModelFile((dir_ / "sys.toml").string());
  ASSERT_EQ(m.submodels.size(), 2u);
  EXPECT_EQ(m.submodels[0].name, "Cell");
  EXPECT_EQ(m.submodels[0].file, (dir_ / "parts" / "cell.toml").string());   // #line names it
  EXPECT_EQ(m.submodels[1].name, "Pool");
  EXPECT_EQ(m.includedFiles.size(), 2u);
}

TEST_F(IncludedFiles, FaultsInIncludedFilesNameTheirFileAndCyclesAreRefused) {
  Write(dir_ / "a.toml", "include = [\"b.toml\"]\n[submodel.A]\nplaces = { x = 1 }\n");
  Write(dir_ / "b.toml", "\n[submodel.B]\nplaces = { y = 1 }\ninclude = 3\n");
  std::string top = std::string("model = \"T\"\ninclude = [\"a.toml\"]\n") +
                    "[composition.J]\njoin = [\"A\", \"B\"]\n[reward.R]\nsubmodel = \"A\"\nkind = \"instant_of_time\"\n"
                    "times = [1]\nrate = \"x->Mark()\"\n";
  Write(dir_ / "top.toml", top);
  // b.toml's include key is inside [submodel.B]: an unknown key there, in b.toml.
  try {
    ReadModelFile((dir_ / "top.toml").string());
    ADD_FAILURE() << "accepted";
  } catch (const ModelError& error) {
    EXPECT_EQ(error.File, (dir_ / "a.toml").parent_path().string() + "/b.toml");
    EXPECT_EQ(error.Pos.line, 4);
    EXPECT_EQ(std::string(error.what()).rfind("unknown key 'include' in submodel 'B'", 0), 0u) << error.what();
  }
  Write(dir_ / "b.toml", "include = [\"a.toml\"]\n[submodel.B]\nplaces = { y = 1 }\n");
  try {
    ReadModelFile((dir_ / "top.toml").string());
    ADD_FAILURE() << "accepted";
  } catch (const ModelError& error) {
    EXPECT_EQ(error.Pos.line, 1);
    EXPECT_EQ(error.Pos.column, 12);
    EXPECT_EQ(std::string(error.what()), "include cycle: 'a.toml' is already being read (it includes this file)");
  }
  Write(dir_ / "b.toml", "[submodel.A]\nplaces = { y = 1 }\n");
  try {
    ReadModelFile((dir_ / "top.toml").string());
    ADD_FAILURE() << "accepted";
  } catch (const ModelError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("duplicate submodel 'A': already defined at ", 0), 0u) << error.what();
  }
  Write(dir_ / "top.toml", Replace(top, "a.toml", "missing.toml"));
  try {
    ReadModelFile((dir_ / "top.toml").string());
    ADD_FAILURE() << "accepted";
  } catch (const ModelError& error) {
    EXPECT_TRUE(error.File.empty());
    EXPECT_EQ(std::string(error.what()).rfind("cannot read the included file", 0), 0u) << error.what();
  }
  // A directory, or a device that would be read without end, is no model file.
  for (const char* path : {"parts", "/dev/zero"}) {
    Write(dir_ / "top.toml", Replace(top, "a.toml", path));
    try {
      ReadModelFile((dir_ / "top.toml").string());
      ADD_FAILURE() << "accepted " << path;
    } catch (const ModelError& error) {
      std::string why = path[0] == '/' ? "it is not a regular file" : "it is a directory";
      EXPECT_EQ(std::string(error.what()),
                "cannot read the included file '" + (path[0] == '/' ? std::string(path) : (dir_ / path).string()) +
                    "': " + why);
    }
  }
}

TEST_F(IncludedFiles, InitialMarkingsOfSubmodelsAreCheckedInTheirFileAndInEveryExperiment) {
  Write(dir_ / "a.toml", "[submodel.A]\nplaces = { x = \"n\", y = 0 }\n");
  std::string top = std::string("model = \"T\"\ninclude = [\"a.toml\"]\n[globals]\nn = \"int\"\n") +
                    "[submodel.B]\nplaces = { z = -2 }\n"
                    "[composition.J]\njoin = [\"A\", \"B\"]\n[reward.R]\nsubmodel = \"A\"\nkind = \"instant_of_time\"\n"
                    "times = [1]\nrate = \"x->Mark()\"\n[study]\nn = [1, 100000]\n";
  Refusal literal = RefusalOf(top);
  EXPECT_EQ(literal.line, 6);
  EXPECT_EQ(literal.column, 16);
  EXPECT_EQ(literal.message, "the initial marking of place 'z' must be a whole number from 0 to 32767, not -2");
  Write(dir_ / "top.toml", Replace(top, "z = -2", "z = 2"));
  try {
    ReadModelFile((dir_ / "top.toml").string());
    ADD_FAILURE() << "accepted";
  } catch (const ModelError& error) {
    EXPECT_EQ(error.File, (dir_ / "a.toml").string());
    EXPECT_EQ(error.Pos.line, 2);
    EXPECT_EQ(error.Pos.column, 16);
    EXPECT_EQ(std::string(error.what()), "the initial marking of place 'x' (global 'n') is 100000 in experiment "
                                         "'n=100000': it must be a whole number from 0 to 32767");
  }
}

// A joined variable starts with the marking of the place written first: a different
// marking of another place is not used, and the generator says so (a place marked 0 holds
// no tokens of its own, which is the usual way to write a join).
TEST(CompositionReader, WarnsOfJoinedPlacesWhoseMarkingsAreNotUsed) {
  EXPECT_TRUE(ReadModelText(kComposed, "m.toml").warnings.empty());
  Model m = ReadModelText(Replace(kComposed, "places = { own = 1, common = 0 }", "places = { own = 1, common = 2 }"),
                          "m.toml");
  ASSERT_EQ(m.warnings.size(), 1u);
  EXPECT_EQ(m.warnings[0].pos.line, 19);
  EXPECT_EQ(m.warnings[0].pos.column, 8);
  EXPECT_EQ(m.warnings[0].message, "join 'System' shares variable 'store' between places of different initial "
                                   "markings: it starts with the marking of Pool.stock (5), written first; the "
                                   "marking of Cells.common (2) is not used");
  // Markings given by globals are compared in every experiment.
  std::string byGlobal = Replace(Replace(kComposed, "places = { stock = 5 }", "places = { stock = \"n\" }"),
                                 "places = { own = 1, common = 0 }", "places = { own = 1, common = 3 }");
  EXPECT_TRUE(ReadModelText(byGlobal, "m.toml").warnings.empty());
  Model differs = ReadModelText(Replace(byGlobal, "\nn = 3", "\nn = [3, 4]"), "m.toml");
  ASSERT_EQ(differs.warnings.size(), 1u);
  EXPECT_NE(differs.warnings[0].message.find("Pool.stock (n)"), std::string::npos) << differs.warnings[0].message;
}

TEST(CompositionReader, WarnsOfASubmodelNoNodeHolds) {
  Model m = ReadModelText(Replace(kComposed, "[submodel.Pool]", "[submodel.Spare]\nplaces = { s = 1 }\n[submodel.Pool]"),
                          "m.toml");
  ASSERT_EQ(m.warnings.size(), 1u);
  EXPECT_EQ(m.warnings[0].pos.line, 11);
  EXPECT_EQ(m.warnings[0].message, "submodel 'Spare' is in no composition node, so it is not simulated");
}
