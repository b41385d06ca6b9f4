#include "trace/TraceFile.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "rewards/PVModel.h"

int TraceLevel = 0;
std::ostream* trout = &std::cout;

int Traceprintf(int level, const char* format, ...) {
  // This platform's printf takes "%lld" for 64-bit integers, so the format is used as given.
  static char message[1000];
  if (::TraceLevel < level) return 0;
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  *trout << message << std::flush;
  if (level == 0 && trout != &std::cout) std::cout << message << std::flush;
  return 0;
}

TraceFile::TraceFile() : TraceLevel(1), tracefileout(nullptr), OwnsStream(false) {
  ::TraceLevel = 1;
}

// A file that cannot be created leaves a stream in a failed state, so its lines are lost
// without a report.
TraceFile::TraceFile(const char* fname)
    : TraceLevel(0),
      tracefileout(new std::ofstream(fname, std::ios::out | std::ios::trunc)),
      OwnsStream(true) {}

TraceFile::TraceFile(std::ostream* stream)
    : TraceLevel(0), tracefileout(stream), OwnsStream(false) {}

TraceFile::~TraceFile() {
  if (OwnsStream) delete tracefileout;
}

void TraceFile::printHeader(PVModel*) {}
void TraceFile::printFooter() {}
void TraceFile::printInitialState(BaseModelClass*) {}
void TraceFile::printState(BaseModelClass*) {}
void TraceFile::printState(PVModel* model) { printState(model->TheModel); }
void TraceFile::printFireAction(BaseActionClass*, double) {}
void TraceFile::printPreFireAction(BaseActionClass*) {}
void TraceFile::printPostFireAction(BaseActionClass*, BaseActionClass*) {}
void TraceFile::newBatch() {}
void TraceFile::printf(int, const char*, ...) {}
void TraceFile::printStr(int, char*) {}

void TraceFile::setTraceLevel(int level) {
  TraceLevel = level;
  ::TraceLevel = level;
}

int TraceFile::getTraceLevel() const { return TraceLevel; }
