#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "ProcessRunner.h"

// tavrin_gen as a modeller runs it: located errors and nothing written for a faulty model
// file, the same bytes for the same model file, the study description copied on request.

namespace {

namespace fs = std::filesystem;

void Write(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::map<std::string, std::string> FilesUnder(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), dir).string()] = ReadFile(entry.path().string());
  return files;
}

const char* const kModel =
    "model = \"P\"\n[places]\nA = 1\n[activity.T]\ndistribution = { exponential = 2 }\ninput = { A = 1 }\n"
    "[reward.R]\nkind = \"instant_of_time\"\ntimes = [1]\nrate = \"A->Mark()\"\n";

}  // namespace

TEST(GeneratorProgram, AFaultyModelFileGivesALocatedErrorAndWritesNothing) {
  std::string dir = MakeTempDir();
  Write(dir + "/bad.toml", std::string(kModel) + "[reward.S]\nkind = \"interval_of_time\"\nstart = 0\n"
                                                 "stop = 1\nimpulse = { Nothing = \"1\" }\n");
  ProcessResult r = RunProgram("tavrin_gen", {"bad.toml", "-o", "out", "-s", "copy.json"}, dir);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "bad.toml:15:13: impulse of reward variable 'S' names unknown activity 'Nothing'\n");
  EXPECT_FALSE(fs::exists(dir + "/out"));
  EXPECT_FALSE(fs::exists(dir + "/copy.json"));
  fs::remove_all(dir);
}

TEST(GeneratorProgram, ATomlSyntaxErrorIsLocatedToo) {
  std::string dir = MakeTempDir();
  Write(dir + "/bad.toml", "model = \"P\"\n[places\nA = 1\n");
  ProcessResult r = RunProgram("tavrin_gen", {"bad.toml", "-o", "out"}, dir);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("bad.toml:2:", 0), 0u) << r.err;
  EXPECT_FALSE(fs::exists(dir + "/out"));
  fs::remove_all(dir);
}

TEST(GeneratorProgram, AMissingModelFileOrFolderIsAnError) {
  std::string dir = MakeTempDir();
  ProcessResult missing = RunProgram("tavrin_gen", {"none.toml", "-o", "out"}, dir);
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("none.toml: cannot read the model file"), std::string::npos) << missing.err;
  ProcessResult usage = RunProgram("tavrin_gen", {"none.toml"}, dir);
  EXPECT_EQ(usage.exitCode, 1);
  EXPECT_NE(usage.err.find("Usage: tavrin_gen MODEL.toml -o DIR"), std::string::npos) << usage.err;
  fs::remove_all(dir);
}

// A file that cannot be written (here a folder stands where its temporary copy goes; a
// full disk is the usual cause) is named with the system's reason, the exit status is 1,
// and no temporary copy is left behind.
TEST(GeneratorProgram, AFileThatCannotBeWrittenIsNamedWithTheReason) {
  std::string dir = MakeTempDir();
  Write(dir + "/good.toml", kModel);
  fs::create_directories(dir + "/out/Atomic/P/PSAN.cpp.tmp/in-the-way");
  ProcessResult r = RunProgram("tavrin_gen", {"good.toml", "-o", "out"}, dir);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot write out/Atomic/P/PSAN.cpp.tmp: Is a directory"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists(dir + "/out/Atomic/P/PSAN.cpp.tmp/in-the-way"));   // not removed: not ours
  fs::remove_all(dir);
}

TEST(GeneratorProgram, TheSameModelFileGivesTheSameBytes) {
  std::string dir = MakeTempDir();
  Write(dir + "/p.toml", kModel);
  ASSERT_EQ(RunProgram("tavrin_gen", {"p.toml", "-o", "one"}, dir).exitCode, 0);
  ASSERT_EQ(RunProgram("tavrin_gen", {"p.toml", "-o", "two", "-s", "copy.json"}, dir).exitCode, 0);
  std::map<std::string, std::string> one = FilesUnder(dir + "/one");
  EXPECT_EQ(one, FilesUnder(dir + "/two"));
  EXPECT_EQ(one.count("Atomic/P/PSAN.cpp"), 1u);
  EXPECT_EQ(one.count("Reward/P_REWARD/P_REWARDPV0Worker.cpp"), 1u);
  EXPECT_EQ(one.count("Study/P_STUDY/P_STUDYSetStudy.cpp"), 1u);
  ASSERT_EQ(one.count("P.study.json"), 1u);
  EXPECT_EQ(ReadFile(dir + "/copy.json"), one["P.study.json"]);
  fs::remove_all(dir);
}

// A composed model whose submodel is in an included file: a fault there is reported at the
// included file's line, and nothing is written; once mended, -d lists both files as what
// the generated sources depend on.
TEST(GeneratorProgram, IncludedFilesAreNamedInErrorsAndInTheDependencyFile) {
  std::string dir = MakeTempDir();
  Write(dir + "/cell.toml", "[submodel.Cell]\nplaces = { own = 1 }\n[submodel.Cell.activity.Go]\n"
                            "distribution = { exponential = 1 }\ninput = { owns = 1 }\n");
  Write(dir + "/top.toml", "model = \"T\"\ninclude = [\"cell.toml\"]\n[composition.Cells]\nreplicate = \"Cell\"\n"
                           "count = 2\n[reward.R]\nsubmodel = \"Cell\"\nkind = \"instant_of_time\"\ntimes = [1]\n"
                           "rate = \"own->Mark()\"\n");
  ProcessResult bad = RunProgram("tavrin_gen", {"top.toml", "-o", "out", "-d", "deps.d"}, dir);
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.err, "cell.toml:5:11: the input arcs of activity 'Go' name unknown place 'owns'\n");
  EXPECT_FALSE(fs::exists(dir + "/out"));
  EXPECT_FALSE(fs::exists(dir + "/deps.d"));
  Write(dir + "/cell.toml", "[submodel.Cell]\nplaces = { own = 1 }\n[submodel.Cell.activity.Go]\n"
                            "distribution = { exponential = 1 }\ninput = { own = 1 }\n");
  ProcessResult good = RunProgram("tavrin_gen", {"top.toml", "-o", "out", "-d", "deps.d"}, dir);
  ASSERT_EQ(good.exitCode, 0) << good.err;
  EXPECT_EQ(ReadFile(dir + "/deps.d"), "out/model_sources.cpp: top.toml cell.toml\n");
  EXPECT_TRUE(fs::exists(dir + "/out/Composed/T/TComposed.cpp"));
  EXPECT_TRUE(fs::exists(dir + "/out/Atomic/Cell/CellSAN.cpp"));
  fs::remove_all(dir);
}

TEST(GeneratorProgram, WarningsAreLocatedAndGenerationGoesOn) {
  std::string dir = MakeTempDir();
  Write(dir + "/join.toml", "model = \"J\"\n[submodel.A]\nplaces = { x = 2 }\n[submodel.B]\nplaces = { y = 7 }\n"
                            "[submodel.B.activity.Go]\ndistribution = { exponential = 1 }\ninput = { y = 1 }\n"
                            "[composition.Both]\njoin = [\"A\", \"B\"]\nshared.s = { A = \"x\", B = \"y\" }\n"
                            "[reward.R]\nsubmodel = \"B\"\nkind = \"instant_of_time\"\ntimes = [1]\n"
                            "rate = \"y->Mark()\"\n");
  ProcessResult r = RunProgram("tavrin_gen", {"join.toml", "-o", "out"}, dir);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "join.toml:11:8: warning: join 'Both' shares variable 's' between places of different initial "
                   "markings: it starts with the marking of A.x (2), written first; the marking of B.y (7) is not "
                   "used\n");
  EXPECT_TRUE(fs::exists(dir + "/out/Composed/J/JComposed.cpp"));
  fs::remove_all(dir);
}
