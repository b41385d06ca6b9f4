#ifndef TAVRIN_GEN_COMPOSEDEMITTER_H
#define TAVRIN_GEN_COMPOSEDEMITTER_H

#include "GeneratedFiles.h"
#include "Model.h"

// Writes the composition tree of a composed model (Composed/<M>/<M>Composed.h and .cpp): one
// class per node, a RepModel or a JoinModel whose constructor builds its children (the
// submodels' classes and the other nodes' classes) and shares their places. The number of
// copies is read when the model is built, so the code does not depend on it.
void EmitComposedModel(const Model& model, GeneratedFiles& files);

#endif
