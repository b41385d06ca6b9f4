#include "ResultFileReader.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "output/WireCodec.h"
#include "platform/FileContents.h"

const char* const ResultFileReader::AsciiMark = "#TAVRIN_SIM_ASCII_FILE,";
const char* const ResultFileReader::BinaryMark = "TAVRIN_SIM_BIN_FILE,";

namespace {

const char kFormatLine[] = "#FORMAT: (PV ID Number),(PV Value)";
const char kTrailerMark[] = "#META_DATA,";
const char kTrailerName[] = "#META_DATA";
const size_t kQuotedTextLimit = 60;   // a garbage line is shown only this far in a message

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string Quoted(const std::string& text) {
  if (text.size() <= kQuotedTextLimit) return "\"" + text + "\"";
  return "\"" + text.substr(0, kQuotedTextLimit) + "...\"";
}

// Whole-field parsers: a field with anything after its number is not a number.
bool ParseUnsigned(const std::string& text, unsigned long limit, unsigned long& value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoul(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && value <= limit;
}

// A decimal number as the simulator writes it ("2.0", "-0.25"), or in exponent form
// ("1e-3"), whose value is finite. strtod alone would also take hexadecimal, "nan", "inf" and
// an overflow to infinity, each of which would make every statistic of its variable wrong.
bool IsDecimalText(const std::string& text) {
  size_t at = 0;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) at++;
  size_t digits = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); at++) digits++;
  if (at < text.size() && text[at] == '.')
    for (at++; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); at++)
      digits++;
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    at++;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) at++;
    size_t exponentDigits = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); at++)
      exponentDigits++;
    if (exponentDigits == 0) return false;
  }
  return at == text.size();
}

bool ParseFiniteDecimal(const std::string& text, double& value) {
  if (!IsDecimalText(text)) return false;
  value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at = text.find(separator); at != std::string::npos;
       start = at + 1, at = text.find(separator, start))
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

// The NAME=value items of a header, after its mark; items without '=' (the doubled comma at
// the end of a binary header) are ignored.
std::vector<std::pair<std::string, std::string>> HeaderFields(const std::string& items) {
  std::vector<std::pair<std::string, std::string>> fields;
  for (const std::string& item : Split(items, ',')) {
    size_t equals = item.find('=');
    if (equals != std::string::npos)
      fields.emplace_back(item.substr(0, equals), item.substr(equals + 1));
  }
  return fields;
}

int TakeBatches(const std::string& text, const char* where, ResultFile& out, std::string& error) {
  unsigned long number = 0;
  if (!ParseUnsigned(text, 0x7FFFFFFFUL, number)) {
    error = std::string(where) + " gives BATCHES=" + Quoted(text) + ", not a number";
    return 1;
  }
  out.Batches = static_cast<long>(number);
  return 0;
}

// Both headers carry the same run description; EXPERIMENTS is the one field a summary
// cannot do without, since it decides which files may be pooled.
int TakeRunFields(const std::vector<std::pair<std::string, std::string>>& fields, ResultFile& out,
                  std::string& error) {
  bool haveExperiment = false;
  for (const auto& field : fields) {
    unsigned long number = 0;
    if (field.first == "EXPERIMENTS") {
      if (!ParseUnsigned(field.second, 0xFFFFFFFFUL, number)) {
        error = "header gives EXPERIMENTS=" + Quoted(field.second) + ", not a number";
        return 1;
      }
      out.ExperimentNumber = static_cast<unsigned int>(number);
      haveExperiment = true;
    } else if (field.first == "SEED") {
      out.Seed = field.second;
    } else if (field.first == "RANDOMGEN") {
      out.Generator = field.second;
    } else if (field.first == "BATCHES" && TakeBatches(field.second, "header", out, error) != 0) {
      return 1;
    }
  }
  if (!haveExperiment) {
    error = "header has no EXPERIMENTS field";
    return 1;
  }
  return 0;
}

// The ASCII file gives its batch count only in the trailer, written when the run ends.
int TakeTrailerFields(const std::vector<std::pair<std::string, std::string>>& fields,
                      ResultFile& out, std::string& error) {
  for (const auto& field : fields)
    if (field.first == "BATCHES") return TakeBatches(field.second, "trailer", out, error);
  error = std::string("the ") + kTrailerName + " trailer has no BATCHES field";
  return 1;
}

// An observation line: "index,value". Returns an empty text, or what is wrong with it.
std::string ParseObservationLine(const std::string& line, int& variable, double& value) {
  std::vector<std::string> fields = Split(line, ',');
  unsigned long index = 0;
  if (fields.size() != 2 || !ParseUnsigned(fields[0], 0x7FFFFFFFUL, index))
    return "not an observation (index,value): " + Quoted(line);
  if (!ParseFiniteDecimal(fields[1], value))
    return "the value " + Quoted(fields[1]) + " is not a finite decimal number";
  variable = static_cast<int>(index);
  return "";
}

}  // namespace

int ResultFileReader::Read(const std::string& path, ResultFile& out, std::string& error) {
  std::string contents;
  if (!ReadFileContents(path, contents, error)) return 1;
  return Parse(contents, path, out, error);
}

int ResultFileReader::Parse(const std::string& contents, const std::string& name, ResultFile& out,
                            std::string& error) {
  out = ResultFile();
  out.Name = name;
  std::string reason;
  int result = 1;
  if (StartsWith(contents, AsciiMark)) {
    out.FileKind = ResultFile::Ascii;
    result = ParseAscii(contents, out, reason);
  } else if (StartsWith(contents, BinaryMark)) {
    out.FileKind = ResultFile::Binary;
    result = ParseBinary(contents, out, reason);
  } else {
    reason = contents.empty() ? "the file is empty"
                              : "not a Tavrin result file (it begins with neither " +
                                    std::string(AsciiMark) + " nor " + BinaryMark + ")";
  }
  if (result == 0) CheckBatchCounts(out);
  if (result != 0) error = name + ": " + reason;
  return result;
}

int ResultFileReader::ParseAscii(const std::string& contents, ResultFile& out, std::string& error) {
  // A line without its line end was being written when the run ended: its number may be
  // cut, so it is left out.
  size_t end = contents.size();
  if (contents.back() != '\n') {
    end = contents.rfind('\n');
    if (end == std::string::npos) {
      error = "the header line has no line end: the file is cut short";
      return 1;
    }
    end++;
    out.Warnings.push_back("the last line has no line end: it is cut, and left out");
  }
  std::vector<std::string> lines = Split(contents.substr(0, end - 1), '\n');
  if (TakeRunFields(HeaderFields(lines[0].substr(std::strlen(AsciiMark))), out, error) != 0)
    return 1;
  if (lines.size() < 2 || lines[1] != kFormatLine) {
    error = std::string("line 2 is not the line ") + Quoted(kFormatLine);
    return 1;
  }
  for (size_t n = 2; n < lines.size(); n++) {
    const std::string& line = lines[n];
    if (StartsWith(line, kTrailerMark)) {
      if (n + 1 != lines.size()) {
        error = "line " + std::to_string(n + 1) + ": the " + kTrailerName +
                " trailer is followed by more lines";
        return 1;
      }
      return TakeTrailerFields(HeaderFields(line.substr(std::strlen(kTrailerMark))), out, error);
    }
    int variable = 0;
    double value = 0.0;
    std::string wrong = ParseObservationLine(line, variable, value);
    if (!wrong.empty()) {
      error = "line " + std::to_string(n + 1) + ": " + wrong;
      return 1;
    }
    out.Observations[variable].push_back(value);
  }
  out.Warnings.push_back(std::string("no ") + kTrailerName +
                        " trailer: the file is cut short, or its simulator has not finished; "
                        "every whole line is read");
  return 0;
}

int ResultFileReader::ParseBinary(const std::string& contents, ResultFile& out,
                                  std::string& error) {
  BinFileHeader header;
  if (!WireCodec::DecodeBinFileHeader(contents.data(), contents.size(), header, error)) return 1;
  if (TakeRunFields(header.fields, out, error) != 0) return 1;
  short experiment = static_cast<short>(out.ExperimentNumber);
  size_t at = WireCodec::BinFileHeaderSize;
  for (int number = 1; at < contents.size(); number++) {
    DataRecord record;
    std::string reason;
    size_t left = contents.size() - at;
    WireCodec::FileRecord kind =
        WireCodec::ReadFileRecord(contents.data() + at, left, record, reason);
    if (kind == WireCodec::CutRecord) {
      out.Warnings.push_back("record " + std::to_string(number) + " at byte " +
                             std::to_string(at) + " is cut (" + std::to_string(left) +
                             " bytes left): it is left out");
      break;
    }
    if (kind == WireCodec::CorruptRecord) {
      error = "record " + std::to_string(number) + " at byte " + std::to_string(at) + ": " + reason;
      return 1;
    }
    if (record.experimentNumber != experiment) {
      error = "record " + std::to_string(number) + " is of experiment " +
              std::to_string(record.experimentNumber) + ", the header of experiment " +
              std::to_string(out.ExperimentNumber);
      return 1;
    }
    for (const DataSection& section : record.sections) {
      for (double observation : section.observations) {
        if (std::isfinite(observation)) continue;
        error = "record " + std::to_string(number) + " at byte " + std::to_string(at) +
                ": variable " + std::to_string(section.variable) +
                " has an observation that is not a finite number (" +
                std::to_string(observation) + ")";
        return 1;
      }
      std::vector<double>& row = out.Observations[section.variable];
      row.insert(row.end(), section.observations.begin(), section.observations.end());
    }
    at += static_cast<size_t>(record.length);
  }
  return 0;
}

// A terminating run observes every variable once per batch, and the file's batch count is
// written with its last report. A count that differs from the observations means a run
// stopped with reports unwritten (fewer observations) or a header not brought up to date
// with the last records (more); every whole observation is still taken. A steady-state run
// counts no batches (0) and is not checked.
void ResultFileReader::CheckBatchCounts(ResultFile& file) {
  if (file.Batches <= 0) return;
  for (const auto& variable : file.Observations) {
    long count = static_cast<long>(variable.second.size());
    if (count == file.Batches) continue;
    file.Warnings.push_back(
        "variable " + std::to_string(variable.first) + " has " + std::to_string(count) +
        " observations, but the file counts " + std::to_string(file.Batches) + " batches: " +
        (count < file.Batches ? "reports are missing (the file is cut short, or its run "
                                "stopped before writing them)"
                              : "the batch count is behind the records (the run ended before "
                                "it could bring it up to date)") +
        "; the " + std::to_string(count) + " observations are used");
  }
}
