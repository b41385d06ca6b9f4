#ifndef TAVRIN_GEN_REWARDEMITTER_H
#define TAVRIN_GEN_REWARDEMITTER_H

#include "GeneratedFiles.h"
#include "Model.h"

// Emits the reward model (Reward/<M>_REWARD/): the reward model class that builds the
// atomic model and its variables, and per variable a node class with its window, a worker
// class for its rate reward and an impulse class per impulse reward.
void EmitRewardModel(const Model& model, GeneratedFiles& files);

#endif
