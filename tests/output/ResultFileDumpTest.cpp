#include "output/ResultFileDump.h"

#include <gtest/gtest.h>

#include <sstream>

#include "output/WireCodec.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

// A record of one section (variable 1, kind 1) holding 1.5 and -0.25: 9 + 7 + 16 = 32 bytes.
std::string OneRecord() {
  return Bytes({0, 0, 0, 32, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 2}) +
         Bytes({0x3F, 0xF8, 0, 0, 0, 0, 0, 0, 0xBF, 0xD0, 0, 0, 0, 0, 0, 0});
}

struct DumpResult {
  int status;
  std::string out;
  std::string err;
};

DumpResult DumpOf(const std::string& contents) {
  std::ostringstream out, err;
  int status = ResultFileDump::Dump(contents, "f.bin", out, err);
  return {status, out.str(), err.str()};
}

}  // namespace

TEST(ResultFileDumpOutput, HeaderFieldsThenOneLinePerObservation) {
  std::string file = WireCodec::BuildBinFileHeader(1, 0, 0, "Lagged Fibonacci", 2) + OneRecord() +
                     Bytes({0, 0, 0, 9, 0, 0, 0, 0, 0});
  DumpResult result = DumpOf(file);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "HEADER_SIZE=256\nTAVRIN_VER=Version 2.5\nFILE_VER=1\nEXPERIMENTS=0\nSEED=31415\n"
            "RANDOMGEN=Lagged Fibonacci\nBATCHES=2\n1,1,1.5\n1,1,-0.25\n");
  EXPECT_EQ(result.err, "");
}

TEST(ResultFileDumpErrors, TruncatedRecordIsReportedWithItsPlace) {
  std::string file = WireCodec::BuildBinFileHeader(1, 0, 0, "Tausworthe", 1) + OneRecord();
  file.resize(file.size() - 3);
  DumpResult result = DumpOf(file);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err.rfind("tavrin_dump: f.bin: record 1 at byte 256: truncated record", 0), 0u)
      << result.err;
}

TEST(ResultFileDumpErrors, ShortOrForeignHeaderIsReported) {
  DumpResult result = DumpOf("TAVRIN_SIM_BIN_FILE,256,");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("truncated file header"), std::string::npos);
  result = DumpOf(std::string(300, 'x'));
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("not a binary result file"), std::string::npos);
  EXPECT_EQ(result.out, "");
}

TEST(ResultFileDumpErrors, EveryCutOfAValidFileEndsInAnErrorNotACrash) {
  std::string file = WireCodec::BuildBinFileHeader(1, 0, 0, "Tausworthe", 1) + OneRecord();
  for (size_t cut = 0; cut < file.size(); cut++) {
    if (cut == 256) continue;  // a header with no records is a whole file
    EXPECT_EQ(DumpOf(file.substr(0, cut)).status, 1) << "cut at " << cut;
  }
}
