#include "trace/TraceFileContainer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "framework/Errors.h"
#include "rewards/PVModel.h"

TraceFileContainer::TraceFileContainer() : TraceFile(), PVmodel(nullptr) {}

TraceFileContainer::~TraceFileContainer() {}

void TraceFileContainer::printHeader(PVModel*) {}
void TraceFileContainer::printState(BaseModelClass*) {}
void TraceFileContainer::printState(PVModel*) {}

void TraceFileContainer::printFooter() {
  for (TraceFile* writer : traceFileVec) writer->printFooter();
}

void TraceFileContainer::printFireAction(BaseActionClass* CurrAction, double CurrentTime) {
  for (TraceFile* writer : traceFileVec) writer->printFireAction(CurrAction, CurrentTime);
}

void TraceFileContainer::printPreFireAction(BaseActionClass* CurrAction) {
  for (TraceFile* writer : traceFileVec) writer->printPreFireAction(CurrAction);
}

void TraceFileContainer::printPostFireAction(BaseActionClass* CurrAction,
                                             BaseActionClass* TempAction) {
  for (TraceFile* writer : traceFileVec) writer->printPostFireAction(CurrAction, TempAction);
}

void TraceFileContainer::newBatch() {
  for (TraceFile* writer : traceFileVec) writer->newBatch();
}

void TraceFileContainer::printf(int level, const char* format, ...) {
  char text[1000];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  for (TraceFile* writer : traceFileVec) writer->printStr(level, text);
}

void TraceFileContainer::printStr(int level, char* str) {
  for (TraceFile* writer : traceFileVec) writer->printStr(level, str);
}

void TraceFileContainer::AddTraceFile(TraceFile* writer) { traceFileVec.push_back(writer); }

void TraceFileContainer::RemoveTraceFile(TraceFile* writer) {
  traceFileVec.erase(std::remove(traceFileVec.begin(), traceFileVec.end(), writer),
                     traceFileVec.end());
}

void TraceFileContainer::addPVModel(PVModel* model) { PVmodel = model; }

void TraceFileContainer::printHeader() {
  for (TraceFile* writer : traceFileVec) {
    TAVRIN_ASSERT(PVmodel != nullptr);
    writer->printHeader(PVmodel);
  }
}

void TraceFileContainer::printState() {
  for (TraceFile* writer : traceFileVec) {
    TAVRIN_ASSERT(PVmodel != nullptr);
    writer->printState(PVmodel);
  }
}

void TraceFileContainer::printInitialState() {
  for (TraceFile* writer : traceFileVec) {
    TAVRIN_ASSERT(PVmodel != nullptr);
    writer->printInitialState(PVmodel->TheModel);
  }
}
