#ifndef TAVRIN_GEN_GENERATOR_H
#define TAVRIN_GEN_GENERATOR_H

#include <string>

#include "GeneratedFiles.h"
#include "Model.h"

// The name of the one source file the build compiles: it includes every generated .cpp, so
// the build knows its sources before the model file is read.
extern const char* const kAllSourcesFile;

// Every generated file of a checked model: the atomic model, the reward model, the study,
// the study description and the all-sources file.
GeneratedFiles GenerateModel(const Model& model);

#endif
