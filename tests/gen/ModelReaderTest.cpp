#include <gtest/gtest.h>

#include <string>

#include "ModelError.h"
#include "ModelReader.h"

// The checks of a model file: each fault is refused at its place in the file, with a
// message that names what is wrong.

namespace {

// A complete small model; tests append to it or replace parts of it.
const char* const kValid = R"m(model = "Q"
[globals]
rate = "double"
[places]
Queue = 0
[activity.Arrive]
distribution = { exponential = "rate" }
output = { Queue = 1 }
[reward.Length]
kind = "steady_state"
transient = 10
batch = 100
rate = "Queue->Mark()"
[study]
rate = 1.0
)m";

struct Refusal {
  int line = 0;
  int column = 0;
  std::string message;
};

Refusal RefusalOf(const std::string& text) {
  try {
    ReadModelText(text, "m.toml");
  } catch (const ModelError& error) {
    return {error.Pos.line, error.Pos.column, error.what()};
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

}  // namespace

TEST(ModelReader, ReadsAValidModelInFileOrder) {
  Model m = ReadModelText(std::string(kValid) + "[reward.Arrivals]\nkind = \"interval_of_time\"\nstart = 0\n"
                                                "stop = 5\nimpulse = { Arrive = \"1\" }\n",
                          "m.toml");
  EXPECT_EQ(m.name, "Q");
  ASSERT_EQ(m.rewards.size(), 2u);
  // toml++ sorts keys by name; the model keeps the order of the file.
  EXPECT_EQ(m.rewards[0].name, "Length");
  EXPECT_EQ(m.rewards[1].name, "Arrivals");
  EXPECT_EQ(m.rewards[1].index, 1);
  EXPECT_EQ(m.activities[0].parameters[0].text, "rate");
  EXPECT_EQ(m.activities[0].parameters[0].pos.line, 7);
  ASSERT_EQ(m.experiments.size(), 1u);
}

TEST(ModelReader, MultiLineCodeStartsOnTheLineAfterItsOpeningQuotes) {
  Model m = ReadModelText(Replace(kValid, "output = { Queue = 1 }", "fire = '''\nQueue->Mark()++;\n'''"), "m.toml");
  EXPECT_EQ(m.activities[0].fire.pos.line, 9);
  EXPECT_EQ(m.activities[0].fire.text, "Queue->Mark()++;\n");
}

TEST(ModelReaderRefuses, TomlSyntaxErrorsAtTheirPlace) {
  Refusal r = RefusalOf(Replace(kValid, "Queue = 0", "Queue = = 0"));
  EXPECT_EQ(r.line, 5);
  EXPECT_FALSE(r.message.empty());
}

TEST(ModelReaderRefuses, UnknownKeys) {
  Refusal r = RefusalOf(Replace(kValid, "output = { Queue = 1 }", "outptu = { Queue = 1 }"));
  EXPECT_EQ(r.line, 8);
  EXPECT_EQ(r.column, 1);
  EXPECT_NE(r.message.find("unknown key 'outptu'"), std::string::npos) << r.message;
  EXPECT_EQ(RefusalOf(std::string(kValid) + "colour = \"red\"\n").line, 16);
}

TEST(ModelReaderRefuses, ArcsToUnknownPlaces) {
  Refusal r = RefusalOf(Replace(kValid, "output = { Queue = 1 }", "output = { Queeu = 1 }"));
  EXPECT_EQ(r.line, 8);
  EXPECT_EQ(r.column, 12);
  EXPECT_NE(r.message.find("unknown place 'Queeu'"), std::string::npos) << r.message;
}

TEST(ModelReaderRefuses, ArcMultiplicitiesThatAreNotPositiveWholeNumbers) {
  EXPECT_NE(RefusalOf(Replace(kValid, "output = { Queue = 1 }", "output = { Queue = 0 }")).message.find("multiplicity"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "output = { Queue = 1 }", "output = { Queue = 1.5 }")).message.find("multiplicity"),
            std::string::npos);
}

TEST(ModelReaderRefuses, ImpulsesOnUnknownActivities) {
  Refusal r = RefusalOf(Replace(kValid, "rate = \"Queue->Mark()\"", "impulse = { Arrival = \"1\" }"));
  EXPECT_EQ(r.line, 13);
  EXPECT_NE(r.message.find("unknown activity 'Arrival'"), std::string::npos) << r.message;
}

TEST(ModelReaderRefuses, ReadsAndChangesNamingUnknownPlaces) {
  Refusal r = RefusalOf(Replace(kValid, "output = { Queue = 1 }", "reads = [\"Nowhere\"]"));
  EXPECT_EQ(r.line, 8);
  EXPECT_NE(r.message.find("unknown place 'Nowhere'"), std::string::npos) << r.message;
}

TEST(ModelReaderRefuses, DuplicateNames) {
  // A place and an activity of one name; TOML itself refuses a key written twice.
  Refusal r = RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\nArrive = 0"));
  EXPECT_EQ(r.line, 7);
  EXPECT_NE(r.message.find("duplicate name 'Arrive'"), std::string::npos) << r.message;
  EXPECT_EQ(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\nQueue = 1")).line, 6);
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\nrate = 1")).message.find("duplicate name 'rate'"),
            std::string::npos);
}

TEST(ModelReaderRefuses, NamesThatAreNoIdentifiersKeywordsOrFrameworkNames) {
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\n\"2nd\" = 0")).message.find("not a C++ identifier"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\nnew = 0")).message.find("C++ keyword"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\nExponential = 0")).message.find("framework"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\nNewEnabled = 0")).message.find("framework"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\n_x = 0")).message.find("underscore"),
            std::string::npos);
  // A place named like the group the generator makes for an activity.
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\nArriveGroup = 0")).message.find("duplicate name"),
            std::string::npos);
  EXPECT_EQ(RefusalOf(Replace(kValid, "model = \"Q\"", "model = \"my model\"")).message,
            "the model name 'my model' is not a C++ identifier (letters, digits and _ only)");
}

TEST(ModelReaderRefuses, NamesOfTheLibraryTypesAndFunctionsTheGeneratedCodeSees) {
  // A global is declared at global scope beside them: 'double size_t;' does not compile.
  Refusal type = RefusalOf(Replace(kValid, "rate = \"double\"", "rate = \"double\"\nsize_t = \"int\""));
  EXPECT_EQ(type.line, 4);
  EXPECT_EQ(type.column, 1);
  EXPECT_EQ(type.message, "the global name 'size_t' is a name of the C or C++ library that the generated code sees");
  for (const char* name : {"uint32_t", "int64_t", "ptrdiff_t", "intptr_t", "nullptr_t", "FILE", "random", "strlen"})
    EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 0\n" + std::string(name) + " = 0"))
                  .message.find("a name of the C or C++ library"),
              std::string::npos)
        << name;
  EXPECT_NE(RefusalOf(Replace(kValid, "[activity.Arrive]", "[activity.int8_t]")).message.find("C or C++ library"),
            std::string::npos);
  // Names that merely contain one are names of the model.
  EXPECT_NO_THROW(ReadModelText(Replace(kValid, "Queue = 0", "Queue = 0\nsize = 0\nrandomness = 0"), "m.toml"));
}

TEST(ModelReaderRefuses, ArcsToUnknownPlacesInWordsThatAgree) {
  EXPECT_EQ(RefusalOf(Replace(kValid, "output = { Queue = 1 }", "input = { Queue = 1, Waiting = 1 }")).message,
            "the input arcs of activity 'Arrive' name unknown place 'Waiting'");
}

TEST(ModelReaderRefuses, UnknownDistributionsAndWrongParameterCounts) {
  Refusal unknown = RefusalOf(Replace(kValid, "{ exponential = \"rate\" }", "{ exponental = \"rate\" }"));
  EXPECT_EQ(unknown.line, 7);
  EXPECT_EQ(unknown.column, 18);
  EXPECT_NE(unknown.message.find("unknown distribution 'exponental'"), std::string::npos) << unknown.message;
  Refusal count = RefusalOf(Replace(kValid, "{ exponential = \"rate\" }", "{ weibull = [\"rate\"] }"));
  EXPECT_NE(count.message.find("takes 2 parameters, not 1"), std::string::npos) << count.message;
  EXPECT_NE(RefusalOf(Replace(kValid, "{ exponential = \"rate\" }", "{ hyperexponential = [1, 2, 3] }"))
                .message.find("pairs"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "{ exponential = \"rate\" }", "\"immediate\"")).message.find("unknown distribution"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "distribution = { exponential = \"rate\" }", "")).message.find("no distribution"),
            std::string::npos);
}

TEST(ModelReaderRefuses, AGlobalWithoutAValue) {
  Refusal r = RefusalOf(Replace(kValid, "rate = \"double\"", "rate = \"double\"\nspare = \"int\""));
  EXPECT_NE(r.message.find("global 'spare' has no value"), std::string::npos) << r.message;
  Refusal inExperiment = RefusalOf(Replace(kValid, "[study]\nrate = 1.0\n", "[[experiment]]\nname = \"a\"\n"));
  EXPECT_EQ(inExperiment.line, 14);
  EXPECT_NE(inExperiment.message.find("global 'rate' has no value in experiment 'a'"), std::string::npos)
      << inExperiment.message;
}

TEST(ModelReaderRefuses, ValuesOfTheWrongType) {
  std::string withInt = Replace(kValid, "rate = \"double\"", "rate = \"double\"\nn = \"int\"");
  Refusal r = RefusalOf(Replace(withInt, "rate = 1.0", "rate = 1.0\nn = 2.5"));
  EXPECT_EQ(r.line, 17);
  EXPECT_EQ(r.column, 5);
  EXPECT_NE(r.message.find("must be a whole number"), std::string::npos) << r.message;
  EXPECT_NE(RefusalOf(Replace(kValid, "rate = 1.0", "rate = \"fast\"")).message.find("must be a number"),
            std::string::npos);
  std::string withShort = Replace(kValid, "rate = \"double\"", "rate = \"double\"\nn = \"short\"");
  EXPECT_NE(RefusalOf(Replace(withShort, "rate = 1.0", "rate = 1.0\nn = 40000")).message.find("out of range"),
            std::string::npos);
  std::string withBool = Replace(kValid, "rate = \"double\"", "rate = \"double\"\nn = \"bool\"");
  EXPECT_NE(RefusalOf(Replace(withBool, "rate = 1.0", "rate = 1.0\nn = 1")).message.find("true or false"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "rate = \"double\"", "rate = \"real\"")).message.find("unknown type"),
            std::string::npos);
}

TEST(ModelReaderRefuses, ConstantCaseProbabilitiesThatDoNotSumToOne) {
  std::string cases = Replace(kValid, "output = { Queue = 1 }",
                              "[[activity.Arrive.case]]\nprobability = 0.5\noutput = { Queue = 1 }\n"
                              "[[activity.Arrive.case]]\nprobability = 0.4\n");
  Refusal r = RefusalOf(cases);
  EXPECT_EQ(r.line, 8);
  EXPECT_NE(r.message.find("sum to 0.9, not 1"), std::string::npos) << r.message;
  // Probabilities that depend on the model are left to the run.
  std::string marking = Replace(cases, "probability = 0.4", "probability = \"0.4 + 0.1 * Queue->Mark()\"");
  EXPECT_NO_THROW(ReadModelText(marking, "m.toml"));
}

TEST(ModelReaderRefuses, EmptyModels) {
  EXPECT_NE(RefusalOf("").message.find("empty model"), std::string::npos);
  EXPECT_NE(RefusalOf("model = \"Q\"\n").message.find("no activity"), std::string::npos);
  Refusal noReward = RefusalOf("model = \"Q\"\n[activity.A]\ndistribution = \"instantaneous\"\n");
  EXPECT_NE(noReward.message.find("no reward variable"), std::string::npos) << noReward.message;
}

TEST(ModelReaderRefuses, IncompleteRewardVariables) {
  EXPECT_NE(RefusalOf(Replace(kValid, "batch = 100\n", "")).message.find("has no batch"), std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "rate = \"Queue->Mark()\"\n", "")).message.find("neither a rate"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "kind = \"steady_state\"", "kind = \"steady\"")).message.find("unknown kind"),
            std::string::npos);
  // A window key of another kind is an unknown key of this one.
  EXPECT_NE(RefusalOf(Replace(kValid, "batch = 100", "batch = 100\nstop = 5")).message.find("unknown key 'stop'"),
            std::string::npos);
}

namespace {

// kValid with its steady-state variable replaced by a variable of the given kind and window.
std::string WithWindow(const std::string& window) {
  return Replace(kValid, "kind = \"steady_state\"\ntransient = 10\nbatch = 100\n", window);
}

}  // namespace

TEST(ModelReaderRefuses, RewardWindowsWrittenAsNumbersThatObserveNothing) {
  Refusal batch = RefusalOf(Replace(kValid, "batch = 100", "batch = 0"));
  EXPECT_EQ(batch.line, 12);
  EXPECT_EQ(batch.column, 9);
  EXPECT_NE(batch.message.find("the batch of reward variable 'Length' must be above 0, not 0"), std::string::npos)
      << batch.message;
  Refusal transient = RefusalOf(Replace(kValid, "transient = 10", "transient = \"-1.5\""));
  EXPECT_EQ(transient.line, 11);
  EXPECT_NE(transient.message.find("the transient of reward variable 'Length' must be 0 or more, not -1.5"),
            std::string::npos)
      << transient.message;
  Refusal start = RefusalOf(WithWindow("kind = \"interval_of_time\"\nstart = -1\nstop = 5\n"));
  EXPECT_EQ(start.line, 11);
  EXPECT_NE(start.message.find("the start of reward variable 'Length' must be 0 or more"), std::string::npos)
      << start.message;
  Refusal empty = RefusalOf(WithWindow("kind = \"time_averaged_interval_of_time\"\nstart = 5\nstop = 5.0\n"));
  EXPECT_EQ(empty.line, 12);
  EXPECT_NE(empty.message.find("the stop of reward variable 'Length' must be after its start: the window is [5, 5]"),
            std::string::npos)
      << empty.message;
  Refusal point = RefusalOf(WithWindow("kind = \"instant_of_time\"\ntimes = [1.0, -2]\n"));
  EXPECT_EQ(point.line, 11);
  EXPECT_EQ(point.column, 15);
  EXPECT_NE(point.message.find("a time point of reward variable 'Length' must be 0 or more, not -2"), std::string::npos)
      << point.message;
  // Each time point is a result variable of its own, observed by itself: any order will do,
  // and a window starting at 0 is a window.
  EXPECT_NO_THROW(ReadModelText(WithWindow("kind = \"instant_of_time\"\ntimes = [5, 0, 2.5]\n"), "m.toml"));
  EXPECT_NO_THROW(ReadModelText(WithWindow("kind = \"interval_of_time\"\nstart = 0\nstop = 0.5\n"), "m.toml"));
}

TEST(ModelReaderRefuses, RewardWindowsNamingAGlobalThatObserveNothingInAnExperiment) {
  std::string globals = Replace(kValid, "rate = \"double\"", "rate = \"double\"\nlength = \"double\"\nwarm = \"int\"");
  std::string study = "[[experiment]]\nname = \"short\"\nlength = 50.0\nwarm = 0\n"
                      "[[experiment]]\nname = \"none\"\nlength = 0.0\nwarm = 0\n";
  std::string model = Replace(Replace(globals, "[study]\nrate = 1.0\n", "[study]\nrate = 1.0\n" + study),
                              "batch = 100", "batch = \"length\"");
  Refusal batch = RefusalOf(model);
  EXPECT_EQ(batch.line, 14);
  EXPECT_EQ(batch.column, 9);
  EXPECT_NE(batch.message.find("the batch of reward variable 'Length' (global 'length') is 0 in experiment 'none': "
                               "it must be above 0"),
            std::string::npos)
      << batch.message;
  EXPECT_NO_THROW(ReadModelText(Replace(model, "length = 0.0", "length = 1e-3"), "m.toml"));
  // A window whose stop comes from a global and whose start is a number.
  std::string interval = Replace(Replace(globals, "kind = \"steady_state\"\ntransient = 10\nbatch = 100\n",
                                         "kind = \"interval_of_time\"\nstart = \"warm\"\nstop = \"length\"\n"),
                                 "[study]\nrate = 1.0\n", "[study]\nrate = 1.0\nlength = [10.0, 20.0]\nwarm = [0, 15]\n");
  Refusal window = RefusalOf(interval);
  EXPECT_EQ(window.line, 14);
  EXPECT_NE(window.message.find("the window in experiment 'length=10,warm=15' is [15, 10]"), std::string::npos)
      << window.message;
  EXPECT_NO_THROW(ReadModelText(Replace(interval, "warm = [0, 15]", "warm = [0, 5]"), "m.toml"));
  // Expressions of globals are left to the run.
  EXPECT_NO_THROW(ReadModelText(Replace(model, "batch = \"length\"", "batch = \"length - 0\""), "m.toml"));
}

TEST(ModelReaderRefuses, InitialMarkingsAShortCannotHold) {
  // A short cannot hold 70000: it would be 4464 tokens.
  Refusal big = RefusalOf(Replace(kValid, "Queue = 0", "Queue = 70000"));
  EXPECT_EQ(big.line, 5);
  EXPECT_EQ(big.column, 9);
  EXPECT_EQ(big.message, "the initial marking of place 'Queue' must be a whole number from 0 to 32767, not 70000");
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = 1.5")).message.find("from 0 to 32767, not 1.5"),
            std::string::npos);
  EXPECT_NE(RefusalOf(Replace(kValid, "Queue = 0", "Queue = \"-1\"")).message.find("from 0 to 32767, not -1"),
            std::string::npos);
  EXPECT_NO_THROW(ReadModelText(Replace(kValid, "Queue = 0", "Queue = 32767"), "m.toml"));
  // A marking given by a global, in each experiment.
  std::string byGlobal = Replace(Replace(kValid, "rate = \"double\"", "rate = \"double\"\nn = \"int\"\nhalf = \"double\""),
                                 "Queue = 0", "Queue = \"n\"\nOther = \"half\"");
  Refusal inExperiment = RefusalOf(Replace(byGlobal, "rate = 1.0", "rate = 1.0\nn = [5, 40000]\nhalf = 2.0"));
  EXPECT_EQ(inExperiment.line, 7);
  EXPECT_EQ(inExperiment.column, 9);
  EXPECT_EQ(inExperiment.message, "the initial marking of place 'Queue' (global 'n') is 40000 in experiment 'n=40000': "
                                  "it must be a whole number from 0 to 32767");
  Refusal fraction = RefusalOf(Replace(byGlobal, "rate = 1.0", "rate = 1.0\nn = 5\nhalf = 0.5"));
  EXPECT_EQ(fraction.line, 8);
  EXPECT_NE(fraction.message.find("(global 'half') is 0.5 in experiment 'base'"), std::string::npos) << fraction.message;
  EXPECT_NO_THROW(ReadModelText(Replace(byGlobal, "rate = 1.0", "rate = 1.0\nn = [0, 32767]\nhalf = 2.0"), "m.toml"));
}
