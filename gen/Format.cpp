#include "Format.h"

#include <cstdio>
#include <cstdlib>

namespace {

template <typename T>
std::string ShortestRoundTrip(T value, int maxDigits, T (*read)(const char*, char**)) {
  char buffer[64];
  // Whole numbers of a sensible size read best in fixed notation: 1000.0, not 1e+03.
  if (value == static_cast<T>(static_cast<long long>(value)) && value < static_cast<T>(1e15) &&
      value > static_cast<T>(-1e15)) {
    std::snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(value));
    return buffer;
  }
  for (int digits = 1; digits <= maxDigits; digits++) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (read(buffer, nullptr) == value) break;
  }
  std::string text = buffer;
  if (text.find_first_of(".eEn") == std::string::npos) text += ".0";   // n: nan and inf
  return text;
}

}  // namespace

std::string FormatDouble(double value) { return ShortestRoundTrip<double>(value, 17, std::strtod); }

std::string FormatFloat(float value) { return ShortestRoundTrip<float>(value, 9, std::strtof); }

std::string CppLiteral(const Value& value) {
  switch (value.type) {
    case GlobalType::Double: return FormatDouble(value.real);
    case GlobalType::Float: return FormatFloat(static_cast<float>(value.real)) + "f";
    case GlobalType::Long: return std::to_string(value.whole) + "L";
    case GlobalType::Bool: return value.whole != 0 ? "true" : "false";
    case GlobalType::Int:
    case GlobalType::Short:
    case GlobalType::Char: return std::to_string(value.whole);
  }
  return "0";
}

std::string JsonLiteral(const Value& value) {
  switch (value.type) {
    case GlobalType::Double: return FormatDouble(value.real);
    case GlobalType::Float: return FormatFloat(static_cast<float>(value.real));
    case GlobalType::Bool: return value.whole != 0 ? "true" : "false";
    default: return std::to_string(value.whole);
  }
}

std::string DisplayValue(const Value& value) {
  switch (value.type) {
    case GlobalType::Double: {
      std::string text = FormatDouble(value.real);
      if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0)
        text.resize(text.size() - 2);
      return text;
    }
    case GlobalType::Float: {
      std::string text = FormatFloat(static_cast<float>(value.real));
      if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0)
        text.resize(text.size() - 2);
      return text;
    }
    default: return JsonLiteral(value);
  }
}

std::string QuotedString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
          out += buffer;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}
