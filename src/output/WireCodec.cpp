#include "output/WireCodec.h"

#include <cstdint>
#include <cstring>

const char* const WireCodec::VersionText = "Version 2.5";
const char* const WireCodec::NoFreePortText = "ERROR: Unable to bind a port";

namespace {

uint64_t DoubleBits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

double BitsDouble(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

bool Need(size_t size, size_t wanted, const char* what, std::string& error) {
  if (size >= wanted) return true;
  error = std::string("truncated ") + what + ": " + std::to_string(wanted) + " bytes needed, " +
          std::to_string(size) + " present";
  return false;
}

}  // namespace

void WireCodec::PutInt32(char* out, int value) {
  uint32_t bits = static_cast<uint32_t>(value);
  for (int i = 3; i >= 0; i--, bits >>= 8) out[i] = static_cast<char>(bits & 0xFF);
}

void WireCodec::PutInt16(char* out, short value) {
  uint16_t bits = static_cast<uint16_t>(value);
  out[0] = static_cast<char>(bits >> 8);
  out[1] = static_cast<char>(bits & 0xFF);
}

void WireCodec::PutDouble(char* out, double value) {
  uint64_t bits = DoubleBits(value);
  for (int i = 7; i >= 0; i--, bits >>= 8) out[i] = static_cast<char>(bits & 0xFF);
}

int WireCodec::GetInt32(const char* in) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; i++) bits = (bits << 8) | static_cast<unsigned char>(in[i]);
  return static_cast<int32_t>(bits);
}

short WireCodec::GetInt16(const char* in) {
  uint16_t bits = static_cast<uint16_t>((static_cast<unsigned char>(in[0]) << 8) |
                                        static_cast<unsigned char>(in[1]));
  return static_cast<int16_t>(bits);
}

double WireCodec::GetDouble(const char* in) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; i++) bits = (bits << 8) | static_cast<unsigned char>(in[i]);
  return BitsDouble(bits);
}

std::string WireCodec::EncodeAcknowledgement(int status, int code, int processId) {
  std::string bytes(AcknowledgementSize, '\0');
  PutInt32(&bytes[0], AcknowledgementSize);
  bytes[4] = static_cast<char>(status);
  bytes[5] = static_cast<char>(code);
  PutInt32(&bytes[6], processId);
  return bytes;
}

// The length of this message counts only the bytes after it, unlike the other messages.
std::string WireCodec::EncodeCPUTime(int clientId, int experimentNumber, double seconds) {
  std::string bytes(CPUTimeMessageSize, '\0');
  PutInt32(&bytes[0], CPUTimeMessageSize - 4);
  bytes[4] = static_cast<char>(-2);
  bytes[5] = static_cast<char>(clientId);
  PutInt16(&bytes[6], static_cast<short>(experimentNumber));
  PutDouble(&bytes[8], seconds);
  return bytes;
}

int WireCodec::RecordLength(int numSections, int numDoubles) {
  return RecordFixedSize + SectionFixedSize * numSections + 8 * numDoubles;
}

// The optional fields go in while they fit, in order; the first that does not fit ends
// them, so a reader never sees a later field without the earlier ones.
std::string WireCodec::BuildBinFileHeader(int fileVersion, unsigned int experimentNumber,
                                          unsigned int seed, const std::string& generatorName,
                                          int batches) {
  std::string text = "TAVRIN_SIM_BIN_FILE," + std::to_string(BinFileHeaderSize);
  text += std::string(",TAVRIN_VER=") + VersionText;
  text += ",FILE_VER=" + std::to_string(fileVersion);
  text += ",EXPERIMENTS=" + std::to_string(experimentNumber);
  const std::string optional[] = {
      ",SEED=" + std::to_string(seed == 0 ? DefaultSeed : seed),
      ",RANDOMGEN=" + generatorName,
      ",BATCHES=" + std::to_string(batches) + ","};
  for (const std::string& field : optional) {
    if (text.size() + field.size() >= static_cast<size_t>(BinFileHeaderSize)) break;
    text += field;
  }
  text += ",";
  text.resize(BinFileHeaderSize, '\0');
  return text;
}

bool WireCodec::DecodeAcknowledgement(const char* bytes, size_t size, Acknowledgement& out,
                                      std::string& error) {
  if (!Need(size, AcknowledgementSize, "acknowledgement", error)) return false;
  out.length = GetInt32(bytes);
  out.status = static_cast<signed char>(bytes[4]);
  out.code = static_cast<signed char>(bytes[5]);
  out.processId = GetInt32(bytes + 6);
  if (out.length != AcknowledgementSize) {
    error = "acknowledgement length " + std::to_string(out.length) + ", expected 10";
    return false;
  }
  return true;
}

bool WireCodec::DecodeCPUTime(const char* bytes, size_t size, CPUTimeMessage& out,
                              std::string& error) {
  if (!Need(size, CPUTimeMessageSize, "processor-time message", error)) return false;
  out.length = GetInt32(bytes);
  out.marker = static_cast<signed char>(bytes[4]);
  out.clientId = static_cast<signed char>(bytes[5]);
  out.experimentNumber = GetInt16(bytes + 6);
  out.seconds = GetDouble(bytes + 8);
  if (out.length != CPUTimeMessageSize - 4 || out.marker != -2) {
    error = "not a processor-time message";
    return false;
  }
  return true;
}

bool WireCodec::RecordIsCut(const char* bytes, size_t size) {
  if (size == 0) return false;
  if (size < 4) return true;   // not even the whole length
  int length = GetInt32(bytes);
  if (length < RecordFixedSize || static_cast<size_t>(length) <= size) return false;
  if (size < static_cast<size_t>(RecordFixedSize)) return true;
  int numSections = GetInt16(bytes + 7);
  if (numSections < 0) return false;
  // Walk the sections as far as the bytes go: each must fit in the length, leaving room for
  // the fixed parts of those after it.
  size_t end = static_cast<size_t>(length);
  size_t at = RecordFixedSize;
  for (int s = 0; s < numSections; s++) {
    size_t sectionsLeft = static_cast<size_t>(numSections - s);
    if (at > end || (end - at) / SectionFixedSize < sectionsLeft) return false;
    if (at + SectionFixedSize > size) return true;   // this header, or what is before it, is cut
    int variable = GetInt16(bytes + at);
    int kind = static_cast<signed char>(bytes[at + 2]);
    int count = GetInt32(bytes + at + 3);
    at += SectionFixedSize;
    if (variable < 0 || kind != 1 || count < 0 || static_cast<size_t>(count) > (end - at) / 8)
      return false;
    at += 8 * static_cast<size_t>(count);
  }
  return at == end;
}

WireCodec::FileRecord WireCodec::ReadFileRecord(const char* bytes, size_t size, DataRecord& out,
                                                std::string& error) {
  if (size == 0) {
    error = "no record: the file ends here";
    return CorruptRecord;
  }
  if (RecordIsCut(bytes, size)) return CutRecord;
  int length = GetInt32(bytes);   // RecordIsCut takes fewer than 4 bytes for a cut
  if (length < RecordFixedSize) {
    error = "malformed record: length " + std::to_string(length) + ", shorter than a record's " +
            std::to_string(RecordFixedSize) + " fixed bytes";
    return CorruptRecord;
  }
  if (static_cast<size_t>(length) > size) {
    error = "its length " + std::to_string(length) + " runs past the end of the file (" +
            std::to_string(size) + " bytes left), and what is left is not one record cut "
            "short: the record is corrupt";
    return CorruptRecord;
  }
  if (!DecodeDataRecord(bytes, size, out, error) || !CheckObservationSections(out, error))
    return CorruptRecord;
  return WholeRecord;
}

bool WireCodec::DecodeDataRecord(const char* bytes, size_t size, DataRecord& out,
                                 std::string& error) {
  if (!Need(size, RecordFixedSize, "record", error)) return false;
  out.length = GetInt32(bytes);
  out.clientId = static_cast<signed char>(bytes[4]);
  out.experimentNumber = GetInt16(bytes + 5);
  int numSections = GetInt16(bytes + 7);
  out.sections.clear();
  if (out.length < RecordFixedSize || numSections < 0) {
    error = "malformed record: length " + std::to_string(out.length) + ", " +
            std::to_string(numSections) + " sections";
    return false;
  }
  if (!Need(size, static_cast<size_t>(out.length), "record", error)) return false;
  size_t at = RecordFixedSize;
  size_t end = static_cast<size_t>(out.length);
  for (int s = 0; s < numSections; s++) {
    if (end - at < static_cast<size_t>(SectionFixedSize)) {
      error = "record length " + std::to_string(out.length) + " ends inside section " +
              std::to_string(s);
      return false;
    }
    DataSection section;
    section.variable = GetInt16(bytes + at);
    section.kind = static_cast<signed char>(bytes[at + 2]);
    int count = GetInt32(bytes + at + 3);
    at += SectionFixedSize;
    if (count < 0 || static_cast<size_t>(count) > (end - at) / 8) {
      error = "section " + std::to_string(s) + " claims " + std::to_string(count) +
              " observations, more than the record holds";
      return false;
    }
    for (int i = 0; i < count; i++, at += 8) section.observations.push_back(GetDouble(bytes + at));
    out.sections.push_back(std::move(section));
  }
  if (at != end) {
    error = "record length " + std::to_string(out.length) + " but its sections take " +
            std::to_string(at) + " bytes";
    return false;
  }
  return true;
}

bool WireCodec::CheckObservationSections(const DataRecord& record, std::string& error) {
  for (size_t s = 0; s < record.sections.size(); s++) {
    const DataSection& section = record.sections[s];
    if (section.kind == 1 && section.variable >= 0) continue;
    error = "section " + std::to_string(s) + " is of kind " + std::to_string(section.kind) +
            " for variable " + std::to_string(section.variable) +
            ": records hold observations (kind 1) of variables 0 and up only";
    return false;
  }
  return true;
}

bool WireCodec::DecodeBinFileHeader(const char* bytes, size_t size, BinFileHeader& out,
                                    std::string& error) {
  if (!Need(size, BinFileHeaderSize, "file header", error)) return false;
  const char* zero = static_cast<const char*>(std::memchr(bytes, '\0', BinFileHeaderSize));
  out.text.assign(bytes, zero != nullptr ? zero - bytes : BinFileHeaderSize);
  const std::string magic = "TAVRIN_SIM_BIN_FILE,";
  if (out.text.compare(0, magic.size(), magic) != 0) {
    error = "not a binary result file (no TAVRIN_SIM_BIN_FILE header)";
    return false;
  }
  out.fields.clear();
  size_t start = magic.size();
  size_t sizeEnd = out.text.find(',', start);
  out.headerSize = out.text.substr(start, sizeEnd == std::string::npos ? std::string::npos
                                                                       : sizeEnd - start);
  if (out.headerSize != std::to_string(BinFileHeaderSize)) {
    error = "file header gives its size as \"" + out.headerSize + "\", expected 256";
    return false;
  }
  start = sizeEnd + 1;
  while (start < out.text.size()) {
    size_t comma = out.text.find(',', start);
    if (comma == std::string::npos) comma = out.text.size();
    std::string item = out.text.substr(start, comma - start);
    size_t equals = item.find('=');
    if (equals != std::string::npos)
      out.fields.emplace_back(item.substr(0, equals), item.substr(equals + 1));
    start = comma + 1;
  }
  return true;
}
