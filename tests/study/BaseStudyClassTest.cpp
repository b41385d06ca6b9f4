#include "study/BaseStudyClass.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A study that records every override it is handed, decoding the value by the name's
// first letter (the tests name each variable after the type it is overridden as).
class RecordingStudy : public BaseStudyClass {
 public:
  void OverrideGVValue(char* TheGVName, void* TheGVValue) override {
    std::string name(TheGVName);
    std::string value;
    switch (name[0]) {
      case 'B': value = *static_cast<bool*>(TheGVValue) ? "true" : "false"; break;
      case 'C': value = std::string(1, *static_cast<char*>(TheGVValue)); break;
      case 'D': value = std::to_string(*static_cast<double*>(TheGVValue)); break;
      case 'F': value = std::to_string(*static_cast<float*>(TheGVValue)); break;
      case 'I': value = std::to_string(*static_cast<int*>(TheGVValue)); break;
      case 'L': value = std::to_string(*static_cast<long*>(TheGVValue)); break;
      case 'S': value = std::to_string(*static_cast<short*>(TheGVValue)); break;
      default: value = "?"; break;
    }
    Applied.push_back(name + "=" + value);
  }
  std::vector<std::string> Applied;
};

std::vector<std::string> Override(RecordingStudy& study, const char* text) {
  std::vector<char> buffer(text, text + std::strlen(text) + 1);
  study.overrideGVs(buffer.data());
  return study.Applied;
}

using Applied = std::vector<std::string>;

TEST(StudyOverrides, EveryTypeLetterPassesItsOwnType) {
  RecordingStudy study;
  // %i reads 0x10 as hexadecimal (16) and 010 as octal (8); "%c" keeps the first character.
  Applied applied = Override(study,
      "b:B1:1:b:B2:2:b:B0:0:c:Cx:yes:d:Drate:2.5:f:Fw:0.25:i:Ihex:0x10:i:Ioct:010:"
      "l:Lbig:3000000000:s:Ssmall:-7");
  EXPECT_EQ(applied, (Applied{"B1=true", "B2=true", "B0=false", "Cx=y", "Drate=2.500000",
                              "Fw=0.250000", "Ihex=16", "Ioct=8", "Lbig=3000000000",
                              "Ssmall=-7"}));
}

TEST(StudyOverrides, DoubledColonsDoNotShiftTheFields) {
  RecordingStudy study;
  Applied applied = Override(study, "::d::Drate:::2.5::i:Isize:4:");
  EXPECT_EQ(applied, (Applied{"Drate=2.500000", "Isize=4"}));
}

TEST(StudyOverrides, MissingValueStopsWithTheTokenMessage) {
  RecordingStudy study;
  testing::internal::CaptureStdout();
  Applied applied = Override(study, "i:Isize:4:d:Drate");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not enough double override tokens");
  EXPECT_EQ(applied, (Applied{"Isize=4"}));
}

TEST(StudyOverrides, TypeLetterAloneAppliesNothing) {
  RecordingStudy study;
  testing::internal::CaptureStdout();
  Applied applied = Override(study, "d");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not enough double override tokens");
  EXPECT_TRUE(applied.empty());
}

TEST(StudyOverrides, UnknownLetterIsReportedAndTheRestStillApplies) {
  RecordingStudy study;
  testing::internal::CaptureStdout();
  Applied applied = Override(study, "q:Qodd:1:s:Ssmall:3");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Type q not recognized\n");
  EXPECT_EQ(applied, (Applied{"Ssmall=3"}));
}

TEST(StudyOverrides, UnparsableValueLeavesTheVariableAlone) {
  RecordingStudy study;
  Applied applied = Override(study, "i:Ibad:abc:i:Igood:5");
  EXPECT_EQ(applied, (Applied{"Igood=5"}));
}

TEST(StudyOverrides, NullStringDoesNothing) {
  RecordingStudy study;
  testing::internal::CaptureStdout();
  study.overrideGVs(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(study.Applied.empty());
}

TEST(StudyOverrides, TheCallersStringIsLeftIntact) {
  RecordingStudy study;
  char text[] = "i:Isize:4";
  study.overrideGVs(text);
  EXPECT_STREQ(text, "i:Isize:4");
}

// A study that declares its globals' names and types, as the generated studies do.
class TypedStudy : public RecordingStudy {
 public:
  TypedStudy() {
    const char* names[] = {"Drate", "Isize"};
    const char* types[] = {"double", "int"};
    NumGVs = 2;
    GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
    GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
    for (unsigned int i = 0; i < NumGVs; i++) {
      GVNames[i] = strdup(names[i]);
      GVTypes[i] = strdup(types[i]);
    }
  }
};

TEST(StudyOverrideTypes, LetterNotMatchingTheGlobalsTypeIsRefusedAndNothingMoreApplies) {
  TypedStudy study;
  // An int letter for a double global would read the value with the wrong size.
  char wrongInt[] = "d:Drate:2.5:i:Drate:1:i:Isize:4";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(study.overrideGVs(wrongInt));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Override of global variable Drate of type double given with type letter 'i' "
            "(int)\n");
  EXPECT_EQ(study.Applied, (Applied{"Drate=2.500000"}));

  TypedStudy other;
  char wrongDouble[] = "d:Isize:20";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(other.overrideGVs(wrongDouble));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Isize of type int"), std::string::npos);
  EXPECT_TRUE(other.Applied.empty());
}

// Unknown letters and names are reported and the rest still applies, but the string as a
// whole fails, so that the simulator does not run an experiment other than the one asked.
TEST(StudyOverrideTypes, UnknownLettersAndNamesAreReportedAndFailTheWholeString) {
  TypedStudy study;
  char text[] = "d:Drate:2.5:q:Drate:1:i:Isize:4:i:Iextra:7";
  testing::internal::CaptureStdout();
  EXPECT_FALSE(study.overrideGVs(text));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Type q not recognized\n");
  // The unknown name is handed on: the generated study reports it itself.
  EXPECT_EQ(study.Applied, (Applied{"Drate=2.500000", "Isize=4", "Iextra=7"}));

  TypedStudy clean;
  char known[] = "d:Drate:2.5:i:Isize:4";
  EXPECT_TRUE(clean.overrideGVs(known));
}

// A value is applied only when the whole field is a number of its type: "0,5" or "2.5x"
// would otherwise set 0 or 2.5 without a word. A missing field fails the string too.
TEST(StudyOverrideTypes, ValueThatIsNotWhollyANumberOrAMissingFieldFailsTheString) {
  for (const char* bad : {"d:Drate:0,5", "d:Drate:2.5x", "i:Isize:4.0", "i:Isize:abc", "d:Drate",
                          "i:Isize:99999999999", "i:Isize:-2147483649", "s:Ssmall:40000"}) {
    TypedStudy study;
    std::vector<char> text(bad, bad + std::strlen(bad) + 1);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(study.overrideGVs(text.data())) << bad;
    std::string said = testing::internal::GetCapturedStderr() + testing::internal::GetCapturedStdout();
    EXPECT_TRUE(study.Applied.empty()) << bad;
    EXPECT_NE(said, "") << bad;
  }
  TypedStudy study;
  char text[] = "d:Drate:0,5";
  testing::internal::CaptureStderr();
  study.overrideGVs(text);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Override of global variable Drate: '0,5' is not a value of type double\n");
}

TEST(StudyExperimentNames, NamesCountFromOneInOneSharedBuffer) {
  BaseStudyClass study;
  char* first = study.GetExpName(0);
  EXPECT_STREQ(first, "Experiment 1");
  char* second = study.GetExpName(4);
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "Experiment 5");
}

TEST(StudyBase, StartsWithAnEmptyRootAndNoRewardModel) {
  BaseStudyClass study;
  EXPECT_STREQ(study.GetDefaultTavrinRoot(), "");
  EXPECT_EQ(study.GetPVModel(true), nullptr);
  EXPECT_EQ(study.GetNumGVs(), 0u);
  EXPECT_EQ(study.GetNumExps(), 0u);
  EXPECT_EQ(study.GetGVValue(const_cast<char*>("Rate")), nullptr);
}

TEST(StudyBase, RootIsReplacedByACopy) {
  BaseStudyClass study;
  char root[] = "/opt/tavrin/";
  study.SetDefaultTavrinRoot(root);
  root[0] = 'X';
  EXPECT_STREQ(study.GetDefaultTavrinRoot(), "/opt/tavrin/");
}

TEST(StudyBase, BaseSetGVsAnnouncesItself) {
  BaseStudyClass study;
  testing::internal::CaptureStdout();
  study.SetGVs(0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "basestudyclass::SetGVs\n");
}

}  // namespace
