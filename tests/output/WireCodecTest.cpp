#include "output/WireCodec.h"

#include <gtest/gtest.h>

#include <string>

#include "SimulatorForTests.h"

using testsupport::Bytes;

TEST(WireCodecNumbers, IntegersAndDoublesAreBigEndian) {
  char bytes[8];
  WireCodec::PutInt32(bytes, -2);
  EXPECT_EQ(std::string(bytes, 4), Bytes({0xFF, 0xFF, 0xFF, 0xFE}));
  EXPECT_EQ(WireCodec::GetInt32(bytes), -2);
  WireCodec::PutInt16(bytes, static_cast<short>(70000));  // 70000 - 65536 = 4464 = 0x1170
  EXPECT_EQ(std::string(bytes, 2), Bytes({0x11, 0x70}));
  EXPECT_EQ(WireCodec::GetInt16(bytes), 4464);
  // -0.25 = sign 1, exponent 1021 (0x3FD), fraction 0: BF D0 00 .. 00.
  WireCodec::PutDouble(bytes, -0.25);
  EXPECT_EQ(std::string(bytes, 8), Bytes({0xBF, 0xD0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(WireCodec::GetDouble(bytes), -0.25);
}

TEST(WireCodecMessages, AcknowledgementAndProcessorTimeLayouts) {
  std::string ack = WireCodec::EncodeAcknowledgement(-2, 2, 0x00012345);
  EXPECT_EQ(ack, Bytes({0, 0, 0, 10, 0xFE, 2, 0x00, 0x01, 0x23, 0x45}));
  // The time message's length, 12, counts only the bytes after it. Client 300 keeps its
  // low byte 44; experiment 70000 its low 16 bits 4464; 1.5 is 3F F8 00 .. 00.
  std::string time = WireCodec::EncodeCPUTime(300, 70000, 1.5);
  EXPECT_EQ(time, Bytes({0, 0, 0, 12, 0xFE, 44, 0x11, 0x70, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
  CPUTimeMessage decoded;
  std::string error;
  ASSERT_TRUE(WireCodec::DecodeCPUTime(time.data(), time.size(), decoded, error)) << error;
  EXPECT_EQ(decoded.clientId, 44);
  EXPECT_EQ(decoded.seconds, 1.5);
  Acknowledgement answer;
  EXPECT_FALSE(WireCodec::DecodeAcknowledgement(ack.data(), 9, answer, error));
  EXPECT_EQ(WireCodec::RecordLength(2, 5), 9 + 14 + 40);
}

TEST(WireCodecRecord, RejectsTruncatedAndInconsistentRecords) {
  DataRecord decoded;
  std::string error;
  std::string empty = Bytes({0, 0, 0, 9, 0, 0, 0, 0, 0});
  EXPECT_TRUE(WireCodec::DecodeDataRecord(empty.data(), empty.size(), decoded, error));
  EXPECT_FALSE(WireCodec::DecodeDataRecord(empty.data(), 8, decoded, error));
  const std::string bad[] = {
      // 17 bytes claimed, but one section of one double needs 9 + 7 + 8 = 24.
      Bytes({0, 0, 0, 17, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 0}),
      // A count far beyond the record must not be trusted.
      Bytes({0, 0, 0, 16, 0, 0, 0, 0, 1, 0, 0, 1, 0x7F, 0xFF, 0xFF, 0xFF}),
      // No sections, yet one byte more than the fixed part.
      Bytes({0, 0, 0, 10, 0, 0, 0, 0, 0, 0}),
      Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0})};
  for (const std::string& record : bad)
    EXPECT_FALSE(WireCodec::DecodeDataRecord(record.data(), record.size(), decoded, error));
}

TEST(WireCodecHeader, AllFieldsEndWithTheDoubledCommaAndZeroPadding) {
  std::string header = WireCodec::BuildBinFileHeader(1, 0, 0, "Lagged Fibonacci", 12);
  std::string text =
      "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
      "RANDOMGEN=Lagged Fibonacci,BATCHES=12,,";
  EXPECT_EQ(header, text + std::string(256 - text.size(), '\0'));
}

TEST(WireCodecHeader, FieldThatDoesNotFitEndsTheOptionalFields) {
  // "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=7" is 71
  // characters, ",SEED=5" makes 78. ",RANDOMGEN=" + 166 = 177: 78 + 177 = 255 < 256 fits,
  // then ",BATCHES=3," does not, and the closing comma makes 256. With 167: 256 is not
  // below 256, RANDOMGEN is left out, and BATCHES (which would fit) is not tried.
  std::string header = WireCodec::BuildBinFileHeader(1, 7, 5, std::string(166, 'g'), 3);
  EXPECT_EQ(header.find('\0'), std::string::npos);
  EXPECT_EQ(header.back(), ',');
  EXPECT_EQ(header.find("BATCHES"), std::string::npos);
  header = WireCodec::BuildBinFileHeader(1, 7, 5, std::string(167, 'g'), 3);
  EXPECT_EQ(header.substr(0, header.find('\0')),
            "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=7,SEED=5,");
}
