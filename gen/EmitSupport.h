#ifndef TAVRIN_GEN_EMITSUPPORT_H
#define TAVRIN_GEN_EMITSUPPORT_H

#include <string>

#include "GeneratedFiles.h"
#include "Model.h"

// Pieces shared by the emitters: names of the generated classes and files, and code
// pieces written under #line.

std::string SanClass(const Model& model);       // MM1KSAN
std::string SanHeader(const Model& model);      // Atomic/MM1K/MM1KSAN.h
std::string RewardPrefix(const Model& model);   // MM1K_REWARD
std::string RewardDir(const Model& model);      // Reward/MM1K_REWARD
std::string StudyClass(const Model& model);     // MM1K_STUDYSetStudy
std::string StudyDir(const Model& model);       // Study/MM1K_STUDY

// A composed model: the class of a composition node (MachinesRep, RepairJoin), the header
// declaring every node's class, and the class and header of the model the reward model
// builds (the top node's, or the atomic model's).
std::string NodeClass(const CompositionNode& node);
std::string ComposedHeader(const Model& model);   // Composed/REPAIR/REPAIRComposed.h
std::string TopClass(const Model& model);
std::string TopHeader(const Model& model);

// The model whose places and activities a reward variable reads: its submodel, or the
// atomic model itself.
const Model& RewardTarget(const Model& model, const RewardDef& reward);

// The first line of every generated file.
std::string GeneratedBanner(const Model& model);

// True when code is a plain number, which needs no #line of its own.
bool IsPlainNumber(const std::string& code);

// Writes an expression as `prefix(code)suffix`, the code under #line unless it is a
// plain number: `prefix` and `suffix` are generated text around it.
void Expression(CodeWriter& out, const Model& model, const Code& code, const std::string& prefix,
                const std::string& suffix);

// The activities of the model as the engine sees them: one per activity, or one per case.
std::string CaseName(const ActivityDef& activity, size_t caseIndex);   // Repair_Case1

#endif
