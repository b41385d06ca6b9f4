#ifndef TAVRIN_GEN_TOMLPRECHECK_H
#define TAVRIN_GEN_TOMLPRECHECK_H

#include <string>

// Refuses, with a ModelError at its place, the malformed TOML that the toml++ release we
// build with does not report but fails on: a character beyond ASCII where the format allows
// only ASCII (anywhere outside strings and comments), which sends toml++ into code it marks
// unreachable, and a table header whose name begins with anything but a key (a comment, a
// line's end, a dot), which stops it on an assertion. Everything else is left to the parser.
void PrecheckTomlText(const std::string& text);

#endif
