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

TEST(ResultFileDumpErrors, TruncatedOrForeignFilesAreReportedWithTheirPlace) {
  std::string err;
  std::string file = ValidFile();
  EXPECT_EQ(Dump(file.substr(0, file.size() - 12), nullptr, &err), 1);
  EXPECT_EQ(err.rfind("tavrin_dump: f.bin: record 1 at byte 256: truncated record", 0), 0u) << err;
  EXPECT_EQ(Dump(std::string(300, 'x'), nullptr, &err), 1);
  EXPECT_NE(err.find("not a binary result file"), std::string::npos);
}

TEST(ResultFileDumpErrors, EveryCutAndEveryCorruptedCountIsAnError) {
  // Every prefix but the header alone (256) and the header with the first record (288) is
  // incomplete. Flipping the top bit of a byte of
  // a length (256-259, 288-291), a section count (263-264, 295-296) or an observation
  // count (268-271) breaks the record; any other byte only changes a value.
  std::string file = ValidFile();
  for (size_t cut = 0; cut < file.size(); cut++) {
    bool whole = (cut == 256 || cut == 288);
    EXPECT_EQ(Dump(file.substr(0, cut)), whole ? 0 : 1) << "cut at " << cut;
  }
  for (size_t at = 256; at < file.size(); at++) {
    std::string corrupted = file;
    corrupted[at] = static_cast<char>(corrupted[at] ^ 0x80);
    bool breaks = (at <= 259) || (at >= 263 && at <= 264) || (at >= 268 && at <= 271) ||
                  (at >= 288 && at <= 291) || at >= 295;
    EXPECT_EQ(Dump(corrupted), breaks ? 1 : 0) << "byte " << at;
  }
}
