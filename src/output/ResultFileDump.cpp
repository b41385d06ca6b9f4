#include "output/ResultFileDump.h"

#include <cstdio>

#include "output/WireCodec.h"

namespace {

std::string ExactText(double value) {
  char text[40];
  std::snprintf(text, sizeof(text), "%.17g", value);
  return text;
}

}  // namespace

int ResultFileDump::Dump(const std::string& contents, const std::string& name, std::ostream& out,
                         std::ostream& err) {
  BinFileHeader header;
  std::string error;
  if (!WireCodec::DecodeBinFileHeader(contents.data(), contents.size(), header, error)) {
    err << "tavrin_dump: " << name << ": " << error << std::endl;
    return 1;
  }
  out << "HEADER_SIZE=" << header.headerSize << "\n";
  for (const auto& field : header.fields) out << field.first << "=" << field.second << "\n";
  size_t at = WireCodec::BinFileHeaderSize;
  for (int number = 1; at < contents.size(); number++) {
    DataRecord record;
    if (!WireCodec::DecodeDataRecord(contents.data() + at, contents.size() - at, record, error)) {
      err << "tavrin_dump: " << name << ": record " << number << " at byte " << at << ": "
          << error << std::endl;
      return 1;
    }
    for (const DataSection& section : record.sections)
      for (double observation : section.observations)
        out << section.variable << "," << section.kind << "," << ExactText(observation) << "\n";
    at += static_cast<size_t>(record.length);
  }
  out.flush();
  return 0;
}
