#ifndef TAVRIN_GEN_DEPENDENCIES_H
#define TAVRIN_GEN_DEPENDENCIES_H

#include <string>
#include <vector>

#include "Model.h"

// The identifiers a piece of C++ names, in order of first appearance, without duplicates;
// string and character literals and comments are skipped. Member names count too (in
// `x.Queue` the name Queue is listed): the lists this feeds must never miss a place, and a
// place listed for nothing costs only a check.
std::vector<std::string> IdentifiersIn(const std::string& code);

// Fills each activity's enabling, affected and linked place lists and each reward's rate
// places from the arcs, the places named in the code pieces, and the modeller's additions:
// - enabling: input arcs, then places named in the enabling predicate, the reactivation
//   predicate and function, the distribution parameters, rank, weight and case
//   probabilities, then `reads`;
// - affected: input arcs, the output arcs and places named in the firing function of the
//   activity, then those of each case, then `changes`;
// - linked: every place of the two lists above.
void DeriveDependencies(Model& model);

#endif
