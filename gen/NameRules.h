#ifndef TAVRIN_GEN_NAMERULES_H
#define TAVRIN_GEN_NAMERULES_H

#include <string>

#include "Model.h"

// Why a name cannot name an element of a model, or empty when it can: it must be a C++
// identifier, not a C++ keyword, not reserved to the implementation (a leading underscore,
// two underscores), not a name of the framework that generated code sees (classes, members
// of activities, enumerators such as Exponential or steady_state, common C library
// functions) and not one of the generated names (ImmediateGroup, *_Tavrin_Mark).
std::string NameProblem(const std::string& name);

// Throws ModelError at pos when NameProblem finds one; `what` says what the name names.
void CheckIdentifier(const std::string& name, SourcePos pos, const std::string& what);

#endif
