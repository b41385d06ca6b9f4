#ifndef TAVRIN_GEN_MODELERROR_H
#define TAVRIN_GEN_MODELERROR_H

#include <stdexcept>
#include <string>

#include "Model.h"

// ModelError: a fault of the model file, at a place in it. The generator prints it as
// FILE:LINE:COLUMN: message and writes nothing.
class ModelError : public std::runtime_error {
 public:
  ModelError(SourcePos pos, const std::string& message)
      : std::runtime_error(message), Pos(pos) {}
  ModelError(const std::string& file, SourcePos pos, const std::string& message)
      : std::runtime_error(message), Pos(pos), File(file) {}

  SourcePos Pos;
  std::string File;   // the file the fault is in, when not the model file named on the command line
};

#endif
