#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "ResultFileReader.h"
#include "output/WireCodec.h"

namespace {

const char kAsciiHead[] =
    "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=3,SEED=77,"
    "RANDOMGEN=Tausworthe\n"
    "#FORMAT: (PV ID Number),(PV Value)\n";

// One section of a record: variable, kind, observations.
struct Section {
  int variable;
  int kind;
  std::vector<double> values;
};

// A data record laid out byte by byte as the binary file's record table gives it, so the
// reader is checked against the layout rather than against a second copy of its decoder.
std::string Record(int experiment, const std::vector<Section>& sections) {
  int doubles = 0;
  for (const Section& s : sections) doubles += static_cast<int>(s.values.size());
  int length = WireCodec::RecordLength(static_cast<int>(sections.size()), doubles);
  std::string bytes(static_cast<size_t>(length), '\0');
  WireCodec::PutInt32(&bytes[0], length);
  bytes[4] = 1;   // client
  WireCodec::PutInt16(&bytes[5], static_cast<short>(experiment));
  WireCodec::PutInt16(&bytes[7], static_cast<short>(sections.size()));
  size_t at = 9;
  for (const Section& s : sections) {
    WireCodec::PutInt16(&bytes[at], static_cast<short>(s.variable));
    bytes[at + 2] = static_cast<char>(s.kind);
    WireCodec::PutInt32(&bytes[at + 3], static_cast<int>(s.values.size()));
    at += 7;
    for (double v : s.values) {
      WireCodec::PutDouble(&bytes[at], v);
      at += 8;
    }
  }
  return bytes;
}

std::string BinHeader(unsigned int experiment, int batches) {
  return WireCodec::BuildBinFileHeader(1, experiment, 77, "Tausworthe", batches);
}

ResultFile ParseOk(const std::string& contents) {
  ResultFile file;
  std::string error;
  EXPECT_EQ(ResultFileReader::Parse(contents, "f", file, error), 0) << error;
  return file;
}

// The message given for a refused file; it must begin with the file's name.
std::string ParseError(const std::string& contents) {
  ResultFile file;
  std::string error;
  EXPECT_EQ(ResultFileReader::Parse(contents, "run.out", file, error), 1);
  EXPECT_EQ(error.rfind("run.out: ", 0), 0u) << error;
  return error;
}

bool Mentions(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A file read whole enough to use, with the warnings the reader gave, all in one text.
std::string WarningsOf(const ResultFile& file) {
  std::string all;
  for (const std::string& warning : file.Warnings) all += warning + "\n";
  return all;
}

}  // namespace

TEST(AsciiResultFile, ObservationsAreGroupedByVariableInBatchOrder) {
  // Two reports of two batches each: the second report's lines follow the first's.
  ResultFile f = ParseOk(std::string(kAsciiHead) +
                         "0,1.5\n0,-0.25\n1,100.0\n1,0.1\n"
                         "0,2.0\n0,1e-3\n1,7.0\n1,8.0\n#META_DATA,BATCHES=4\n");
  EXPECT_EQ(f.FileKind, ResultFile::Ascii);
  EXPECT_EQ(f.ExperimentNumber, 3u);
  EXPECT_EQ(f.Seed, "77");
  EXPECT_EQ(f.Generator, "Tausworthe");
  EXPECT_EQ(f.Batches, 4);
  EXPECT_EQ(f.Observations.at(0), (std::vector<double>{1.5, -0.25, 2.0, 0.001}));
  EXPECT_EQ(f.Observations.at(1), (std::vector<double>{100.0, 0.1, 7.0, 8.0}));
}

TEST(AsciiResultFile, ValuesAreDecimalWithOrWithoutAnExponent) {
  ResultFile f = ParseOk(std::string(kAsciiHead) +
                         "0,-3.0\n0,+2\n0,.5\n0,7.\n0,1E+2\n0,-2.5e-1\n0,1e-400\n"
                         "#META_DATA,BATCHES=7\n");
  EXPECT_EQ(f.Observations.at(0), (std::vector<double>{-3.0, 2.0, 0.5, 7.0, 100.0, -0.25, 0.0}));
}

TEST(AsciiResultFile, FileWithoutObservationsHasNoVariables) {
  ResultFile f = ParseOk(std::string(kAsciiHead) + "#META_DATA,BATCHES=0\n");
  EXPECT_TRUE(f.Observations.empty());
}

// A run killed before its trailer: every whole line is read, with a warning.
TEST(AsciiResultFileCut, MissingTrailerIsWarnedAndTheWholeLinesAreRead) {
  ResultFile f = ParseOk(std::string(kAsciiHead) + "0,1.0\n0,2.0\n");
  EXPECT_EQ(f.Observations.at(0), (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(f.Batches, -1);
  EXPECT_TRUE(Mentions(WarningsOf(f), "no #META_DATA trailer")) << WarningsOf(f);
}

// The last line may have been cut inside its number ("0,1." of "0,1.25"): it is left out.
TEST(AsciiResultFileCut, LastLineWithoutItsLineEndIsLeftOutWithAWarning) {
  ResultFile cutNumber = ParseOk(std::string(kAsciiHead) + "0,1.0\n0,1.");
  EXPECT_EQ(cutNumber.Observations.at(0), std::vector<double>{1.0});
  EXPECT_TRUE(Mentions(WarningsOf(cutNumber), "the last line has no line end"));
  ResultFile cutTrailer = ParseOk(std::string(kAsciiHead) + "0,1.0\n#META_DATA,BATCHES=1");
  EXPECT_EQ(cutTrailer.Observations.at(0), std::vector<double>{1.0});
  EXPECT_TRUE(Mentions(WarningsOf(cutTrailer), "no #META_DATA trailer"));
  EXPECT_TRUE(Mentions(ParseError("#TAVRIN_SIM_ASCII_FILE,EXPERIMENTS=0"), "header line"));
}

// The simulator writes two fields, "index,value"; a third (a squared value) is not a line it
// writes, and taking the line's first two fields would hide a damaged one.
TEST(AsciiResultFileErrors, MalformedObservationIsReportedWithItsLineNumber) {
  for (const char* bad : {"0;1.0", "x,1.0", "-1,1.0", ",1.0", "0,1.0,2", "0,3.0,9.0",
                          "0,1.0,2.0,3.0", "0,1.0,x", "", "1", "0,1.0,"}) {
    std::string error =
        ParseError(std::string(kAsciiHead) + "0,2.0\n" + bad + "\n#META_DATA,BATCHES=2\n");
    EXPECT_TRUE(Mentions(error, "line 4: not an observation")) << bad << ": " << error;
  }
}

// strtod takes each of these, as 16, NaN, infinity or 1.0: a mean made of them is wrong.
TEST(AsciiResultFileErrors, ValueThatIsNotAFiniteDecimalNumberIsReported) {
  for (const char* bad : {"0x10", "nan", "NAN", "inf", "-inf", "infinity", "1e400", "-1e400",
                          "1.0x", "", " 1.0", "\t1.0", "1.0 ", "+", ".", "-.e1", "1e", "1e+",
                          "1.2.3"}) {
    std::string error = ParseError(std::string(kAsciiHead) + "0,2.0\n0," + bad +
                                   "\n#META_DATA,BATCHES=2\n");
    EXPECT_TRUE(Mentions(error, "line 4: the value \"" + std::string(bad) +
                                    "\" is not a finite decimal number"))
        << bad << ": " << error;
  }
}

TEST(AsciiResultFileErrors, LinesAfterTheTrailerAreRefused) {
  std::string error =
      ParseError(std::string(kAsciiHead) + "0,1.0\n#META_DATA,BATCHES=1\n0,1.0\n");
  EXPECT_TRUE(Mentions(error, "line 4")) << error;
}

TEST(AsciiResultFileErrors, HeaderFormatLineAndTrailerMustBeWhole) {
  std::string noExperiment =
      "#TAVRIN_SIM_ASCII_FILE,TAVRIN_VER=Version 2.5,FILE_VER=1,SEED=1\n"
      "#FORMAT: (PV ID Number),(PV Value)\n#META_DATA,BATCHES=0\n";
  EXPECT_TRUE(Mentions(ParseError(noExperiment), "no EXPERIMENTS field"));
  std::string badExperiment =
      "#TAVRIN_SIM_ASCII_FILE,EXPERIMENTS=1x\n#FORMAT: (PV ID Number),(PV Value)\n"
      "#META_DATA,BATCHES=0\n";
  EXPECT_TRUE(Mentions(ParseError(badExperiment), "EXPERIMENTS=\"1x\""));
  std::string noFormat = "#TAVRIN_SIM_ASCII_FILE,EXPERIMENTS=0\n0,1.0\n#META_DATA,BATCHES=1\n";
  EXPECT_TRUE(Mentions(ParseError(noFormat), "line 2"));
  EXPECT_TRUE(Mentions(ParseError(std::string(kAsciiHead) + "#META_DATA,RUNS=1\n"),
                       "no BATCHES field"));
  EXPECT_TRUE(Mentions(ParseError(std::string(kAsciiHead) + "#META_DATA,BATCHES=-1\n"),
                       "BATCHES=\"-1\""));
}

// A quit leaves the count ahead of the reports written; a kill between the records and
// the header's update leaves it behind. Either way every observation is used, with a warning.
TEST(ResultFileBatchCount, CountDifferingFromTheObservationsIsWarnedAndEveryObservationUsed) {
  ResultFile fewer = ParseOk(std::string(kAsciiHead) +
                             "0,1.0\n0,1.0\n0,1.0\n1,2.0\n1,2.0\n#META_DATA,BATCHES=3\n");
  EXPECT_EQ(fewer.Observations.at(1).size(), 2u);
  EXPECT_TRUE(Mentions(WarningsOf(fewer),
                       "variable 1 has 2 observations, but the file counts 3 batches: reports "
                       "are missing"))
      << WarningsOf(fewer);
  ResultFile more = ParseOk(BinHeader(0, 1) + Record(0, {{0, 1, {1.0, 2.0}}}));
  EXPECT_EQ(more.Observations.at(0), (std::vector<double>{1.0, 2.0}));
  EXPECT_TRUE(Mentions(WarningsOf(more), "the batch count is behind the records"))
      << WarningsOf(more);
  ResultFile whole = ParseOk(BinHeader(0, 2) + Record(0, {{0, 1, {1.0, 2.0}}}));
  EXPECT_TRUE(whole.Warnings.empty()) << WarningsOf(whole);
}

TEST(ResultFileBatchCount, SteadyStateFilesCountNoBatchesAndAreNotChecked) {
  // Steady-state variables reach their batch ends at different times: unequal counts.
  ResultFile f =
      ParseOk(std::string(kAsciiHead) + "0,1.0\n0,1.0\n0,1.0\n1,2.0\n#META_DATA,BATCHES=0\n");
  EXPECT_EQ(f.Observations.at(0).size(), 3u);
  EXPECT_EQ(f.Observations.at(1).size(), 1u);
}

TEST(BinaryResultFile, RecordsAppendToEachVariable) {
  std::string first = Record(3, {{0, 1, {0.5, 0.25}}, {2, 1, {4.0, 5.0}}});
  std::string contents = BinHeader(3, 3) + first + Record(3, {{0, 1, {1.0}}, {2, 1, {6.0}}});
  ResultFile f = ParseOk(contents);
  EXPECT_EQ(f.FileKind, ResultFile::Binary);
  EXPECT_EQ(f.ExperimentNumber, 3u);
  EXPECT_EQ(f.Seed, "77");
  EXPECT_EQ(f.Generator, "Tausworthe");
  EXPECT_EQ(f.Batches, 3);
  EXPECT_EQ(f.Observations.size(), 2u);
  EXPECT_EQ(f.Observations.at(0), (std::vector<double>{0.5, 0.25, 1.0}));
  EXPECT_EQ(f.Observations.at(2), (std::vector<double>{4.0, 5.0, 6.0}));
}

TEST(BinaryResultFile, HeaderAloneIsAnEmptyRun) {
  ResultFile f = ParseOk(BinHeader(0, 0));
  EXPECT_TRUE(f.Observations.empty());
  EXPECT_EQ(f.Batches, 0);
}

// A writer killed inside a record: the whole records before it are read.
TEST(BinaryResultFileCut, RecordCutShortIsLeftOutAndNamed) {
  std::string whole = BinHeader(0, 2) + Record(0, {{0, 1, {1.0}}}) + Record(0, {{0, 1, {2.0}}});
  // Every cut that leaves part of the second record (9 + 7 + 8 = 24 bytes).
  for (size_t keep = 1; keep < 24; keep++) {
    ResultFile f = ParseOk(whole.substr(0, whole.size() - keep));
    EXPECT_EQ(f.Observations.at(0), std::vector<double>{1.0}) << keep;
    EXPECT_TRUE(Mentions(WarningsOf(f), "record 2 at byte 280 is cut")) << keep << ": "
                                                                       << WarningsOf(f);
  }
}

TEST(BinaryResultFileCut, RecordOfSeveralSectionsCutAnywhereIsLeftOut) {
  std::string last = Record(0, {{0, 1, {2.0}}, {1, 1, {3.0, 4.0}}, {2, 1, {}}});
  std::string whole = BinHeader(0, 2) + Record(0, {{0, 1, {1.0}}}) + last;
  for (size_t keep = 1; keep < last.size(); keep++) {
    ResultFile f = ParseOk(whole.substr(0, whole.size() - keep));
    EXPECT_EQ(f.Observations.at(0), std::vector<double>{1.0}) << keep;
    EXPECT_TRUE(Mentions(WarningsOf(f), "record 2 at byte 280 is cut")) << keep << ": "
                                                                       << WarningsOf(f);
  }
}

TEST(BinaryResultFileCut, FileCutBetweenRecordsWarnsOfMissingReports) {
  ResultFile f = ParseOk(BinHeader(0, 2) + Record(0, {{0, 1, {1.0}}}));
  EXPECT_TRUE(Mentions(WarningsOf(f), "variable 0 has 1 observations, but the file counts 2"));
}

// A record whose own length is impossible is no cut: the file is refused.
TEST(BinaryResultFileErrors, RecordWithAnImpossibleLengthIsRefused) {
  std::string bad = Record(0, {{0, 1, {1.0}}});
  WireCodec::PutInt32(&bad[0], 5);
  std::string error = ParseError(BinHeader(0, 1) + bad);
  EXPECT_TRUE(Mentions(error, "record 1 at byte 256: malformed record")) << error;
}

// A damaged length early in a file is no cut: what follows it would be dropped unseen.
TEST(BinaryResultFileErrors, LengthRunningPastTheEndOfAWholeFileIsRefusedWithItsOffset) {
  std::string records = Record(0, {{0, 1, {1.0}}, {1, 1, {2.0}}}) + Record(0, {{0, 1, {3.0}}}) +
                        Record(0, {{0, 1, {5.0}}});   // 9+14+16 = 39, 24, 24 bytes
  for (int length : {0x7FFFFFFF, 0x01000027, 88, 200}) {
    std::string damaged = records;
    WireCodec::PutInt32(&damaged[0], length);
    std::string error = ParseError(BinHeader(0, 3) + damaged);
    EXPECT_TRUE(Mentions(error, "record 1 at byte 256: its length " + std::to_string(length) +
                                    " runs past the end of the file (87 bytes left)"))
        << length << ": " << error;
  }
  // The last record's length one more than its sections fill, with no byte missing.
  std::string damaged = records;
  WireCodec::PutInt32(&damaged[63], 25);
  EXPECT_TRUE(Mentions(ParseError(BinHeader(0, 3) + damaged),
                       "record 3 at byte 319: its length 25 runs past the end"));
  // A section that the length has no room for, in the bytes there are.
  damaged = records;
  WireCodec::PutInt16(&damaged[7], 5);
  WireCodec::PutInt32(&damaged[0], 60);
  EXPECT_TRUE(Mentions(ParseError(BinHeader(0, 3) + damaged), "record 1 at byte 256"));
}

TEST(BinaryResultFileErrors, LengthShorterThanARecordIsRefusedEvenInTheLastBytes) {
  for (size_t left = 4; left < 9; left++) {
    std::string last = Record(0, {}).substr(0, left);
    WireCodec::PutInt32(&last[0], 3);
    std::string error = ParseError(BinHeader(0, 1) + Record(0, {{0, 1, {1.0}}}) + last);
    EXPECT_TRUE(Mentions(error, "record 2 at byte 280: malformed record: length 3")) << error;
  }
}

TEST(BinaryResultFileErrors, HeaderCutShortOrWrongIsRefused) {
  EXPECT_TRUE(Mentions(ParseError(BinHeader(0, 0).substr(0, 100)), "truncated file header"));
  std::string header = BinHeader(0, 0);
  header.replace(20, 3, "128");   // the size after the mark
  EXPECT_TRUE(Mentions(ParseError(header), "expected 256"));
}

TEST(BinaryResultFileErrors, RecordOfAnotherExperimentIsRefused) {
  std::string error = ParseError(BinHeader(2, 1) + Record(5, {{0, 1, {1.0}}}));
  EXPECT_TRUE(Mentions(error, "record 1 is of experiment 5, the header of experiment 2")) << error;
}

TEST(BinaryResultFileErrors, ObservationThatIsNotFiniteIsRefused) {
  for (double bad : {std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
    std::string error = ParseError(BinHeader(0, 2) + Record(0, {{0, 1, {1.0}}}) +
                                   Record(0, {{0, 1, {2.0}}, {4, 1, {bad}}}));
    EXPECT_TRUE(Mentions(error, "record 2 at byte 280: variable 4 has an observation that is not "
                                "a finite number"))
        << error;
  }
}

// The simulators write observations sections only; a squares section (kind 2) after them
// is no observation either.
TEST(BinaryResultFileErrors, SectionOtherThanObservationsIsRefused) {
  for (int kind : {2, 3, 0, -1}) {
    std::string error = ParseError(BinHeader(0, 1) + Record(0, {{0, 1, {1.0}}}) +
                                   Record(0, {{0, 1, {2.0}}, {0, kind, {4.0}}}));
    EXPECT_TRUE(Mentions(error, "record 2 at byte 280: section 1 is of kind " +
                                    std::to_string(kind) + " for variable 0"))
        << error;
  }
  std::string error = ParseError(BinHeader(0, 1) + Record(0, {{-1, 1, {1.0}}}));
  EXPECT_TRUE(Mentions(error, "record 1 at byte 256: section 0 is of kind 1 for variable -1"))
      << error;
}

TEST(ResultFileKind, FileOfNeitherFormIsRefused) {
  EXPECT_TRUE(Mentions(ParseError(""), "empty"));
  EXPECT_TRUE(Mentions(ParseError("TAVRIN_SIM_ASCII_FILE,\n"), "not a Tavrin result file"));
  EXPECT_TRUE(Mentions(ParseError(std::string("\0\0\0\x09", 4)), "not a Tavrin result file"));
}

TEST(ResultFileKind, FileThatCannotBeReadIsNamedWithTheReason) {
  ResultFile f;
  std::string error;
  EXPECT_EQ(ResultFileReader::Read("/nonexistent/dir/r.csv", f, error), 1);
  EXPECT_EQ(error, "/nonexistent/dir/r.csv: cannot open: No such file or directory");
  // A directory opens, but its read fails.
  EXPECT_EQ(ResultFileReader::Read(::testing::TempDir(), f, error), 1);
  EXPECT_EQ(error, ::testing::TempDir() + ": cannot read: Is a directory");
}

TEST(ResultFileKind, ReadTakesTheFileBytesUnchanged) {
  // Binary bytes include zeros and 0x0A; a text-mode or line-wise read would damage them.
  std::string path = ::testing::TempDir() + "reader_test.bin";
  std::string contents = BinHeader(0, 1) + Record(0, {{10, 1, {10.0 / 256.0}}});
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(contents.data(), 1, contents.size(), out);
  std::fclose(out);
  ResultFile f;
  std::string error;
  ASSERT_EQ(ResultFileReader::Read(path, f, error), 0) << error;
  EXPECT_EQ(f.Name, path);
  EXPECT_EQ(f.Observations.at(10), std::vector<double>{10.0 / 256.0});
  std::remove(path.c_str());
}
