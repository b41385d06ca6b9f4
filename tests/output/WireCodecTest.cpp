#include "output/WireCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

std::string TextOf(const std::string& header) { return header.substr(0, header.find('\0')); }

}  // namespace

TEST(WireCodecNumbers, IntegersAreBigEndian) {
  char bytes[4];
  WireCodec::PutInt32(bytes, 0x01020304);
  EXPECT_EQ(std::string(bytes, 4), Bytes({1, 2, 3, 4}));
  WireCodec::PutInt32(bytes, -2);
  EXPECT_EQ(std::string(bytes, 4), Bytes({0xFF, 0xFF, 0xFF, 0xFE}));
  EXPECT_EQ(WireCodec::GetInt32(bytes), -2);
  WireCodec::PutInt16(bytes, static_cast<short>(70000));  // 70000 - 65536 = 4464 = 0x1170
  EXPECT_EQ(std::string(bytes, 2), Bytes({0x11, 0x70}));
  EXPECT_EQ(WireCodec::GetInt16(bytes), 4464);
}

TEST(WireCodecNumbers, DoublesAreBinary64MostSignificantByteFirst) {
  // 1.5 = sign 0, exponent 1023 (0x3FF), fraction 0x8000000000000: 3F F8 00 .. 00.
  char bytes[8];
  WireCodec::PutDouble(bytes, 1.5);
  EXPECT_EQ(std::string(bytes, 8), Bytes({0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
  // -0.25 = sign 1, exponent 1021 (0x3FD): BF D0 00 .. 00.
  WireCodec::PutDouble(bytes, -0.25);
  EXPECT_EQ(std::string(bytes, 8), Bytes({0xBF, 0xD0, 0, 0, 0, 0, 0, 0}));
  WireCodec::PutDouble(bytes, 0.1);
  EXPECT_EQ(WireCodec::GetDouble(bytes), 0.1);
}

TEST(WireCodecMessages, AcknowledgementIsTenBytes) {
  std::string ack = WireCodec::EncodeAcknowledgement(-2, 2, 0x00012345);
  EXPECT_EQ(ack, Bytes({0, 0, 0, 10, 0xFE, 2, 0x00, 0x01, 0x23, 0x45}));
  Acknowledgement decoded;
  std::string error;
  ASSERT_TRUE(WireCodec::DecodeAcknowledgement(ack.data(), ack.size(), decoded, error));
  EXPECT_EQ(decoded.status, -2);
  EXPECT_EQ(decoded.code, 2);
  EXPECT_EQ(decoded.processId, 0x12345);
  EXPECT_FALSE(WireCodec::DecodeAcknowledgement(ack.data(), 9, decoded, error));
}

TEST(WireCodecMessages, ProcessorTimeLengthCountsOnlyTheTwelveBytesAfterIt) {
  // client 300 keeps its low byte 44; experiment 70000 its low 16 bits 4464 (0x1170).
  std::string message = WireCodec::EncodeCPUTime(300, 70000, 1.5);
  EXPECT_EQ(message, Bytes({0, 0, 0, 12, 0xFE, 44, 0x11, 0x70, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
  CPUTimeMessage decoded;
  std::string error;
  ASSERT_TRUE(WireCodec::DecodeCPUTime(message.data(), message.size(), decoded, error));
  EXPECT_EQ(decoded.clientId, 44);
  EXPECT_EQ(decoded.experimentNumber, 4464);
  EXPECT_EQ(decoded.seconds, 1.5);
}

TEST(WireCodecRecord, LengthIsNinePlusSevenPerSectionPlusEightPerDouble) {
  EXPECT_EQ(WireCodec::RecordLength(0, 0), 9);
  EXPECT_EQ(WireCodec::RecordLength(2, 5), 9 + 14 + 40);
}

TEST(WireCodecRecord, DecodesSectionsInOrder) {
  // length 9 + 7*2 + 8*3 = 47; client 3; experiment 2; two sections.
  std::string record = Bytes({0, 0, 0, 47, 3, 0, 2, 0, 2});
  record += Bytes({0, 0, 1, 0, 0, 0, 2}) + Bytes({0x3F, 0xF8, 0, 0, 0, 0, 0, 0}) +
            Bytes({0xBF, 0xD0, 0, 0, 0, 0, 0, 0});
  record += Bytes({0, 4, 1, 0, 0, 0, 1}) + Bytes({0x3F, 0xF8, 0, 0, 0, 0, 0, 0});
  DataRecord decoded;
  std::string error;
  ASSERT_TRUE(WireCodec::DecodeDataRecord(record.data(), record.size(), decoded, error)) << error;
  EXPECT_EQ(decoded.length, 47);
  EXPECT_EQ(decoded.clientId, 3);
  EXPECT_EQ(decoded.experimentNumber, 2);
  ASSERT_EQ(decoded.sections.size(), 2u);
  EXPECT_EQ(decoded.sections[0].variable, 0);
  EXPECT_EQ(decoded.sections[0].observations, std::vector<double>({1.5, -0.25}));
  EXPECT_EQ(decoded.sections[1].variable, 4);
  EXPECT_EQ(decoded.sections[1].kind, 1);
}

TEST(WireCodecRecord, RejectsTruncatedAndInconsistentRecords) {
  DataRecord decoded;
  std::string error;
  std::string empty = Bytes({0, 0, 0, 9, 0, 0, 0, 0, 0});
  EXPECT_TRUE(WireCodec::DecodeDataRecord(empty.data(), empty.size(), decoded, error));
  EXPECT_FALSE(WireCodec::DecodeDataRecord(empty.data(), 8, decoded, error));
  EXPECT_NE(error.find("truncated"), std::string::npos);
  // Says 17 bytes and one section of one double: 9 + 7 + 8 = 24 would be needed.
  std::string shortLength = Bytes({0, 0, 0, 17, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 0});
  EXPECT_FALSE(WireCodec::DecodeDataRecord(shortLength.data(), shortLength.size(), decoded, error));
  // A count far beyond the record must not be trusted for allocation.
  std::string hugeCount = Bytes({0, 0, 0, 16, 0, 0, 0, 0, 1, 0, 0, 1, 0x7F, 0xFF, 0xFF, 0xFF});
  EXPECT_FALSE(WireCodec::DecodeDataRecord(hugeCount.data(), hugeCount.size(), decoded, error));
  // Sections that end before the stated length.
  std::string slack = Bytes({0, 0, 0, 10, 0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(WireCodec::DecodeDataRecord(slack.data(), slack.size(), decoded, error));
  std::string negative = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0});
  EXPECT_FALSE(WireCodec::DecodeDataRecord(negative.data(), negative.size(), decoded, error));
}

TEST(WireCodecHeader, AllFieldsEndWithTheDoubledCommaAndZeroPadding) {
  std::string header = WireCodec::BuildBinFileHeader(1, 0, 0, "Lagged Fibonacci", 12);
  ASSERT_EQ(header.size(), 256u);
  std::string text =
      "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=0,SEED=31415,"
      "RANDOMGEN=Lagged Fibonacci,BATCHES=12,,";
  EXPECT_EQ(header, text + std::string(256 - text.size(), '\0'));
}

TEST(WireCodecHeader, FieldThatDoesNotFitEndsTheOptionalFields) {
  // The fixed part "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=7"
  // is 71 characters and ",SEED=5" makes 78. A name of 170 characters gives ",RANDOMGEN="
  // + 170 = 181, 78 + 181 = 259 >= 256: left out, and ",BATCHES=3," (11, which would fit)
  // is not tried.
  std::string name(170, 'g');
  std::string header = WireCodec::BuildBinFileHeader(1, 7, 5, name, 3);
  EXPECT_EQ(TextOf(header),
            "TAVRIN_SIM_BIN_FILE,256,TAVRIN_VER=Version 2.5,FILE_VER=1,EXPERIMENTS=7,SEED=5,");
  // A name of 166: 78 + 177 = 255 < 256 fits; then 255 + 11 >= 256 drops BATCHES.
  header = WireCodec::BuildBinFileHeader(1, 7, 5, std::string(166, 'g'), 3);
  EXPECT_EQ(TextOf(header).size(), 256u);  // 255 characters and the closing comma
  EXPECT_EQ(header.back(), ',');
  EXPECT_EQ(TextOf(header).find("BATCHES"), std::string::npos);
  // 167 characters: 78 + 178 = 256 is not strictly less: left out.
  header = WireCodec::BuildBinFileHeader(1, 7, 5, std::string(167, 'g'), 3);
  EXPECT_EQ(TextOf(header).find("RANDOMGEN"), std::string::npos);
}

TEST(WireCodecHeader, DecodesItsFieldsInOrder) {
  std::string header = WireCodec::BuildBinFileHeader(1, 70000, 9, "Tausworthe", 0);
  BinFileHeader decoded;
  std::string error;
  ASSERT_TRUE(WireCodec::DecodeBinFileHeader(header.data(), header.size(), decoded, error)) << error;
  EXPECT_EQ(decoded.headerSize, "256");
  std::vector<std::pair<std::string, std::string>> expected = {
      {"TAVRIN_VER", "Version 2.5"}, {"FILE_VER", "1"},   {"EXPERIMENTS", "70000"},
      {"SEED", "9"},                 {"RANDOMGEN", "Tausworthe"}, {"BATCHES", "0"}};
  EXPECT_EQ(decoded.fields, expected);
  EXPECT_FALSE(WireCodec::DecodeBinFileHeader(header.data(), 255, decoded, error));
  std::string wrong = "NOT_A_TAVRIN_FILE" + std::string(239, '\0');
  EXPECT_FALSE(WireCodec::DecodeBinFileHeader(wrong.data(), wrong.size(), decoded, error));
}
