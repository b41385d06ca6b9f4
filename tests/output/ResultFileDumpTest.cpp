#include "output/ResultFileDump.h"

#include <gtest/gtest.h>

#include <sstream>

#include "SimulatorForTests.h"
#include "output/WireCodec.h"

using testsupport::BigEndian;
using testsupport::Bytes;

namespace {

// Header, then a record of one section (variable 1, kind 1) of 1.5 and -0.25, 9 + 7 + 16 =
// 32 bytes, then an empty 9-byte record.
std::string ValidFile() {
  return WireCodec::BuildBinFileHeader(1, 0, 0, "Lagged Fibonacci", 2) +
         Bytes({0, 0, 0, 32, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 2}) + BigEndian(1.5) +
         BigEndian(-0.25) + Bytes({0, 0, 0, 9, 0, 0, 0, 0, 0});
}

int Dump(const std::string& contents, std::string* out = nullptr, std::string* err = nullptr) {
  std::ostringstream outStream, errStream;
  int status = ResultFileDump::Dump(contents, "f.bin", outStream, errStream);
  if (out != nullptr) *out = outStream.str();
  if (err != nullptr) *err = errStream.str();
  return status;
}

}  // namespace

TEST(ResultFileDumpOutput, HeaderFieldsThenOneLinePerObservation) {
  std::string out, err;
  EXPECT_EQ(Dump(ValidFile(), &out, &err), 0);
  EXPECT_EQ(out,
            "HEADER_SIZE=256\nTAVRIN_VER=Version 2.5\nFILE_VER=1\nEXPERIMENTS=0\nSEED=31415\n"
            "RANDOMGEN=Lagged Fibonacci\nBATCHES=2\n1,1,1.5\n1,1,-0.25\n");
  EXPECT_EQ(err, "");
}

TEST(ResultFileDumpErrors, ForeignFilesAndCutHeadersAreRefused) {
  std::string err;
  EXPECT_EQ(Dump(std::string(300, 'x'), nullptr, &err), 1);
  EXPECT_NE(err.find("not a binary result file"), std::string::npos);
  EXPECT_EQ(Dump(ValidFile().substr(0, 200), nullptr, &err), 1);
  EXPECT_EQ(err.rfind("tavrin_dump: f.bin: ", 0), 0u) << err;
}

TEST(ResultFileDumpErrors, FileThatCannotBeReadIsNamedWithTheReason) {
  std::ostringstream out, err;
  EXPECT_EQ(ResultFileDump::DumpFile(::testing::TempDir(), out, err), 1);
  EXPECT_EQ(err.str(), "tavrin_dump: " + ::testing::TempDir() + ": cannot read: Is a directory\n");
  err.str("");
  EXPECT_EQ(ResultFileDump::DumpFile("/nonexistent/dir/r.bin", out, err), 1);
  EXPECT_EQ(err.str(),
            "tavrin_dump: /nonexistent/dir/r.bin: cannot open: No such file or directory\n");
  EXPECT_EQ(out.str(), "");
}

TEST(ResultFileDumpErrors, SquaresSectionIsRefused) {
  std::string file = ValidFile();
  file[256 + 11] = 2;   // the kind of the first record's section
  std::string out, err;
  EXPECT_EQ(Dump(file, &out, &err), 1);
  EXPECT_EQ(err, "tavrin_dump: f.bin: record 1 at byte 256: section 0 is of kind 2 for variable 1: "
                 "records hold observations (kind 1) of variables 0 and up only\n");
  EXPECT_EQ(out.find("1,2,"), std::string::npos) << out;
}

// A writer killed inside a record leaves it cut: the whole records before it are shown,
// and the cut one is named in a warning.
TEST(ResultFileDumpCut, EveryCutAfterTheHeaderShowsTheWholeRecordsWithAWarning) {
  std::string file = ValidFile();
  for (size_t cut = 257; cut < file.size(); cut++) {
    std::string out, err;
    EXPECT_EQ(Dump(file.substr(0, cut), &out, &err), 0) << "cut at " << cut;
    bool firstWhole = cut >= 288;
    EXPECT_EQ(out.find("1,1,-0.25\n") != std::string::npos, firstWhole) << "cut at " << cut;
    if (cut == 288) {   // between the records: nothing is cut
      EXPECT_EQ(err, "");
      continue;
    }
    std::string where = firstWhole ? "record 2 at byte 288 is cut" : "record 1 at byte 256 is cut";
    EXPECT_NE(err.find("tavrin_dump: warning: f.bin: " + where), std::string::npos)
        << "cut at " << cut << ": " << err;
  }
}

// The header's count is updated after each write's records; a kill in between leaves it
// behind them.
TEST(ResultFileDumpCut, HeaderBehindItsRecordsIsWarned) {
  std::string file = WireCodec::BuildBinFileHeader(1, 0, 0, "Lagged Fibonacci", 1) +
                     ValidFile().substr(256);
  std::string out, err;
  EXPECT_EQ(Dump(file, &out, &err), 0);
  EXPECT_EQ(err,
            "tavrin_dump: warning: f.bin: variable 1 has 2 observations, but the header counts 1 "
            "batches\n");
}

TEST(ResultFileDumpErrors, EveryCorruptedCountOrLengthIsAnError) {
  // Flipping the top bit of a byte of a length (256-259, 288-291), a section count
  // (263-264, 295-296), the sign of a variable index (265), a kind (267) or an observation
  // count (268-271) breaks the record: refused, with its offset. A length that now runs past
  // the end is no cut: whole records follow it, or the sections before the end do not fit it.
  // Any other byte only changes a value.
  std::string file = ValidFile();
  for (size_t at = 256; at < file.size(); at++) {
    std::string corrupted = file;
    corrupted[at] = static_cast<char>(corrupted[at] ^ 0x80);
    bool breaks = (at <= 259) || (at >= 263 && at <= 265) || (at >= 267 && at <= 271) ||
                  (at >= 288 && at <= 291) || at >= 295;
    std::string err;
    int status = Dump(corrupted, nullptr, &err);
    if (breaks) {
      std::string where = at < 288 ? "record 1 at byte 256: " : "record 2 at byte 288: ";
      EXPECT_EQ(status, 1) << "byte " << at << ": " << err;
      EXPECT_NE(err.find("tavrin_dump: f.bin: " + where), std::string::npos)
          << "byte " << at << ": " << err;
    } else {
      EXPECT_TRUE(status == 0 && err.empty()) << "byte " << at << ": " << err;
    }
  }
}
