#ifndef TAVRIN_GEN_FORMAT_H
#define TAVRIN_GEN_FORMAT_H

#include <string>

#include "Model.h"

// Number texts of the generated files: the shortest text that reads back as the same value,
// so a value goes through the generator unchanged and prints the way it was written.

// A double: "0.5", "1000.0", "1e-12" (always a decimal point or exponent).
std::string FormatDouble(double value);
// A float with the precision of a float: "0.1".
std::string FormatFloat(float value);

// A global's value as a C++ literal of its type ("0.5", "0.1f", "10", "10L", "true").
std::string CppLiteral(const Value& value);
// A global's value as a JSON number or boolean.
std::string JsonLiteral(const Value& value);
// A global's value as shown in an experiment name ("0.5", "10", "true").
std::string DisplayValue(const Value& value);

// A string as a C++ or JSON string literal, with its quotes (the two escape alike here).
std::string QuotedString(const std::string& text);

#endif
