#ifndef TAVRIN_GEN_MODELREADER_H
#define TAVRIN_GEN_MODELREADER_H

#include <string>

#include "Model.h"

// Reads a model file (TOML) into a checked Model: every key known, every name a fresh C++
// identifier, every arc, impulse and dependency naming something that exists, every
// distribution with its number of parameters, every experiment giving every global a value
// of its type. The dependency lists are derived before it returns.
// Throws ModelError at the offending place on the first fault.
Model ReadModelFile(const std::string& path);
// The same from text in memory; path is only used to name the model file in the result.
Model ReadModelText(const std::string& text, const std::string& path);

#endif
