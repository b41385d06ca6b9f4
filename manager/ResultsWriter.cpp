#include "ResultsWriter.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
      continue;
    }
    out += c;
  }
  return out + "\"";
}

// Whether text is a number as JSON writes one: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(const std::string& text) {
  size_t i = 0, n = text.size();
  auto digits = [&]() {
    size_t start = i;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) i++;
    return i - start;
  };
  if (i < n && text[i] == '-') i++;
  if (i < n && text[i] == '0')
    i++;
  else if (digits() == 0)
    return false;
  if (i < n && text[i] == '.') {
    i++;
    if (digits() == 0) return false;
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    i++;
    if (i < n && (text[i] == '+' || text[i] == '-')) i++;
    if (digits() == 0) return false;
  }
  return i == n;
}

// A global's value as JSON: a number when its text is one (an int or double global), so a
// reader gets 0.5 rather than "0.5"; any other text (a char or string global) quoted.
std::string JsonValue(const std::string& text) { return IsJsonNumber(text) ? text : JsonString(text); }

// JSON has no infinity: a half-width that does not exist is null.
std::string JsonNumber(double value) {
  return std::isfinite(value) ? ResultsWriter::Number(value) : "null";
}

bool Commit(const std::string& path, const std::string& text, std::string& error) {
  std::string temporary = path + ".tmp";
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    error = "cannot write " + path + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
    std::remove(temporary.c_str());
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

// Every global name of the runs, in the order first met.
std::vector<std::string> GlobalNames(const std::vector<const ExperimentRun*>& runs) {
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const ExperimentRun* run : runs)
    for (const auto& g : run->Globals())
      if (seen.insert(g.first).second) names.push_back(g.first);
  return names;
}

std::string GlobalValue(const ExperimentRun& run, const std::string& name) {
  for (const auto& g : run.Globals())
    if (g.first == name) return g.second;
  return "";
}

// The final estimates, with the variables that showed only zeros after them.
std::vector<VariableEstimate> Rows(const ExperimentRun& run) {
  std::vector<VariableEstimate> rows = run.Final();
  for (int v : run.AllZeroVariables()) {
    VariableEstimate e;
    e.variable = v;
    e.halfWidth = 0.0;
    rows.push_back(e);
  }
  return rows;
}

}  // namespace

std::string ResultsWriter::Number(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string ResultsWriter::Status(const ExperimentRun& run, const VariableEstimate& e) {
  if (run.GetState() == ExperimentRun::Failed) return "failed";
  for (int v : run.AllZeroVariables())
    if (v == e.variable) return "all zero";
  return VariableEstimate::StatusName(e.status);
}

bool ResultsWriter::WriteCsv(const std::string& path, const std::vector<const ExperimentRun*>& runs,
                             double confidence, std::string& error) {
  std::vector<std::string> globals = GlobalNames(runs);
  std::ostringstream out;
  out << "experiment,experiment_name";
  for (const std::string& g : globals) out << "," << CsvField(g);
  out << ",variable,variable_name,observations,clients,mean,halfwidth,relative_halfwidth,"
         "confidence,truncated_batches,status\n";
  for (const ExperimentRun* run : runs) {
    for (const VariableEstimate& e : Rows(*run)) {
      out << run->Number() << "," << CsvField(run->Name());
      for (const std::string& g : globals) out << "," << CsvField(GlobalValue(*run, g));
      out << "," << e.variable << "," << CsvField(run->VariableName(e.variable)) << ","
          << e.observations << "," << e.clients << "," << Number(e.mean) << ","
          << Number(e.halfWidth) << "," << Number(e.RelativeHalfWidth()) << "," << confidence
          << "," << e.truncated << "," << Status(*run, e) << "\n";
    }
  }
  return Commit(path, out.str(), error);
}

bool ResultsWriter::WriteJson(const std::string& path, const std::vector<const ExperimentRun*>& runs,
                              double confidence, std::string& error) {
  std::ostringstream out;
  out << "{\n  \"confidence\": " << confidence << ",\n  \"experiments\": [";
  for (size_t r = 0; r < runs.size(); r++) {
    const ExperimentRun& run = *runs[r];
    out << (r == 0 ? "\n" : ",\n") << "    {\n      \"experiment\": " << run.Number()
        << ",\n      \"name\": " << JsonString(run.Name()) << ",\n      \"globals\": {";
    for (size_t g = 0; g < run.Globals().size(); g++)
      out << (g == 0 ? " " : ", ") << JsonString(run.Globals()[g].first) << ": "
          << JsonValue(run.Globals()[g].second);
    out << (run.Globals().empty() ? "}" : " }") << ",\n      \"status\": "
        << JsonString(run.GetState() == ExperimentRun::Failed ? "failed" : "done")
        << ",\n      \"reason\": " << JsonString(run.Reason()) << ",\n      \"variables\": [";
    std::vector<VariableEstimate> rows = Rows(run);
    for (size_t i = 0; i < rows.size(); i++) {
      const VariableEstimate& e = rows[i];
      out << (i == 0 ? "\n" : ",\n") << "        { \"variable\": " << e.variable
          << ", \"name\": " << JsonString(run.VariableName(e.variable))
          << ", \"observations\": " << e.observations << ", \"clients\": " << e.clients
          << ", \"mean\": " << JsonNumber(e.mean) << ", \"halfwidth\": " << JsonNumber(e.halfWidth)
          << ", \"relative_halfwidth\": " << JsonNumber(e.RelativeHalfWidth())
          << ", \"truncated_batches\": " << e.truncated << ", \"merged_batches\": " << e.mergeFactor
          << ", \"status\": " << JsonString(Status(run, e)) << " }";
    }
    out << (rows.empty() ? "]" : "\n      ]") << "\n    }";
  }
  out << (runs.empty() ? "]" : "\n  ]") << "\n}\n";
  return Commit(path, out.str(), error);
}
