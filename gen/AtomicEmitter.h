#ifndef TAVRIN_GEN_ATOMICEMITTER_H
#define TAVRIN_GEN_ATOMICEMITTER_H

#include "GeneratedFiles.h"
#include "Model.h"

// Emits the atomic SAN model (Atomic/<M>/<M>SAN.h and .cpp): the places, one nested
// activity class per activity (per case for an activity with cases, gathered in its
// postselect group), the arcs the engine's connectivity list is built from, and the
// global variables' declarations.
void EmitAtomicModel(const Model& model, GeneratedFiles& files);

#endif
