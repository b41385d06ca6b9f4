#include "output/ResultFileDump.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "output/WireCodec.h"
#include "platform/FileContents.h"

namespace {

std::string ExactText(double value) {
  char text[40];
  std::snprintf(text, sizeof(text), "%.17g", value);
  return text;
}

// The header's batch count is brought up to date after the records of each write; a run
// killed between the two leaves it behind, a run stopped with reports unwritten ahead.
void WarnOfBatchCount(const BinFileHeader& header, const std::map<int, long>& counts,
                      const std::string& name, std::ostream& err) {
  long batches = -1;
  for (const auto& field : header.fields)
    if (field.first == "BATCHES") batches = std::strtol(field.second.c_str(), nullptr, 10);
  if (batches <= 0) return;   // steady-state runs count no batches
  for (const auto& variable : counts) {
    if (variable.second == batches) continue;
    err << "tavrin_dump: warning: " << name << ": variable " << variable.first << " has "
        << variable.second << " observations, but the header counts " << batches << " batches"
        << std::endl;
  }
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
  std::map<int, long> counts;   // observations per variable
  for (int number = 1; at < contents.size(); number++) {
    DataRecord record;
    size_t left = contents.size() - at;
    WireCodec::FileRecord kind =
        WireCodec::ReadFileRecord(contents.data() + at, left, record, error);
    // A record cut by a killed writer ends the file: every whole record before it is shown.
    if (kind == WireCodec::CutRecord) {
      err << "tavrin_dump: warning: " << name << ": record " << number << " at byte " << at
          << " is cut (" << left << " bytes left): it is left out" << std::endl;
      break;
    }
    if (kind == WireCodec::CorruptRecord) {
      err << "tavrin_dump: " << name << ": record " << number << " at byte " << at << ": "
          << error << std::endl;
      return 1;
    }
    for (const DataSection& section : record.sections) {
      counts[section.variable] += static_cast<long>(section.observations.size());
      for (double observation : section.observations)
        out << section.variable << "," << section.kind << "," << ExactText(observation) << "\n";
    }
    at += static_cast<size_t>(record.length);
  }
  out.flush();
  WarnOfBatchCount(header, counts, name, err);
  return 0;
}

int ResultFileDump::DumpFile(const std::string& path, std::ostream& out, std::ostream& err) {
  std::string contents, error;
  if (!ReadFileContents(path, contents, error)) {
    err << "tavrin_dump: " << error << std::endl;
    return 1;
  }
  return Dump(contents, path, out, err);
}
