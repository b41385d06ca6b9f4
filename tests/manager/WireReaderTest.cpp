#include "WireReader.h"

#include <gtest/gtest.h>

#include <string>

#include "output/WireCodec.h"

namespace {

std::string Record(int client, int experiment, int variable, int kind, std::initializer_list<double> values) {
  int count = static_cast<int>(values.size());
  std::string bytes(static_cast<size_t>(WireCodec::RecordLength(1, count)), '\0');
  WireCodec::PutInt32(&bytes[0], static_cast<int>(bytes.size()));
  bytes[4] = static_cast<char>(client);
  WireCodec::PutInt16(&bytes[5], static_cast<short>(experiment));
  WireCodec::PutInt16(&bytes[7], 1);
  WireCodec::PutInt16(&bytes[9], static_cast<short>(variable));
  bytes[11] = static_cast<char>(kind);
  WireCodec::PutInt32(&bytes[12], count);
  int i = 0;
  for (double v : values) WireCodec::PutDouble(&bytes[16 + 8 * i++], v);
  return bytes;
}

}  // namespace

// The stream of a client arrives cut anywhere: fed one byte at a time, the registration,
// a processor-time message and a record still come out whole and in order.
TEST(WireReader, ReassemblesMessagesFedOneByteAtATime) {
  std::string stream = WireCodec::EncodeAcknowledgement(-1, 1, 4242) +
                       WireCodec::EncodeCPUTime(200, 70000, 1.5) +
                       Record(200, 70000, 3, 1, {1.0, 2.5});
  WireReader reader(200, 70000, 10);
  std::vector<WireReader::Kind> kinds;
  for (char c : stream) {
    reader.Append(&c, 1);
    for (WireReader::Kind k = reader.Next(); k != WireReader::None; k = reader.Next()) kinds.push_back(k);
  }
  ASSERT_EQ(kinds.size(), 3u);
  EXPECT_EQ(kinds[0], WireReader::Ack);
  EXPECT_EQ(reader.LastAck().processId, 4242);
  EXPECT_EQ(kinds[1], WireReader::CPUTime);
  EXPECT_DOUBLE_EQ(reader.LastCPUTime().seconds, 1.5);
  EXPECT_EQ(kinds[2], WireReader::Data);
  ASSERT_EQ(reader.LastRecord().sections.size(), 1u);
  EXPECT_EQ(reader.LastRecord().sections[0].variable, 3);
  EXPECT_EQ(reader.LastRecord().sections[0].observations[1], 2.5);
  EXPECT_EQ(reader.Buffered(), 0u);
}

// Whatever is not what this client may send ends it, with a reason: text, data before the
// registration, another client's record, a squares section, a variable out of range.
TEST(WireReader, RefusesWhatThisClientCannotSend) {
  std::string ack = WireCodec::EncodeAcknowledgement(-1, 1, 1);
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"text", ack + "GARBAGE GARBAGE GARBAGE"},
      {"data first", Record(0, 1, 0, 1, {1.0})},
      {"another client", ack + Record(1, 1, 0, 1, {1.0})},
      {"another experiment", ack + Record(0, 2, 0, 1, {1.0})},
      {"squares", ack + Record(0, 1, 0, 2, {1.0})},
      {"variable out of range", ack + Record(0, 1, 10, 1, {1.0})},
  };
  for (const Case& c : cases) {
    WireReader reader(0, 1, 10);
    reader.Append(c.bytes.data(), c.bytes.size());
    WireReader::Kind k = reader.Next();
    if (k == WireReader::Ack) k = reader.Next();
    EXPECT_EQ(k, WireReader::Malformed) << c.what;
    EXPECT_FALSE(reader.Error().empty()) << c.what;
    EXPECT_EQ(reader.Next(), WireReader::Malformed) << c.what;   // for good
  }
}
