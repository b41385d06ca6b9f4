#ifndef TAVRIN_GEN_STUDYREADER_H
#define TAVRIN_GEN_STUDYREADER_H

#include <toml++/toml.h>

#include "Model.h"

// Expands the model file's study into the experiments, in order:
// - with [[experiment]] entries: one experiment per entry, in file order, named by its
//   `name`; a global the entry does not give takes its single value from [study];
// - otherwise the cartesian product of the [study] values in the order the globals are
//   written there, the first one varying slowest; each experiment is named after the
//   globals that vary ("K=10,lambda=0.5"), or "base" when none does.
// A value is a number (or boolean), a list of values, or a range {from, to, step} or
// {from, to, factor}. Throws ModelError on a missing or ill-typed value.
void ReadStudy(const toml::table& root, Model& model);

#endif
