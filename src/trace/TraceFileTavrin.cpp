#include "trace/TraceFileTavrin.h"

#include <iostream>

#include "framework/BaseActionClass.h"
#include "framework/BaseModelClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/Errors.h"
#include "rewards/PVModel.h"
#include "trace/TraceLeaves.h"

namespace {

const char* const StarLine = "**************************************";   // 38 stars

// One "name = value" line; the value is written by the variable itself.
void printVariableLine(std::ostream& out, const char* indent, BaseStateVariableClass* sv) {
  out << indent << sv->getFullyQualifiedName() << " = ";
  sv->printStateVal(&out);
  out << std::endl;
}

}  // namespace

TraceFileTavrin::TraceFileTavrin() : TraceFile() {}

TraceFileTavrin::TraceFileTavrin(const char* fname) : TraceFile(fname) { trout = tracefileout; }

TraceFileTavrin::TraceFileTavrin(std::ostream* stream) : TraceFile(stream) {
  trout = tracefileout;
}

// Traceprintf must not write to a stream that goes away with this writer.
TraceFileTavrin::~TraceFileTavrin() {
  if (tracefileout != nullptr && trout == tracefileout) trout = &std::cout;
}

void TraceFileTavrin::printHeader(PVModel*) {
  if (tracefileout == nullptr) return;
  *tracefileout << StarLine << std::endl << "\t\tTRACE" << std::endl << StarLine << std::endl;
}

void TraceFileTavrin::printFooter() {}

void TraceFileTavrin::printInitialState(BaseModelClass* model) {
  if (tracefileout == nullptr) return;
  *tracefileout << "Initial Model State:" << std::endl;
  printState(model);
}

void TraceFileTavrin::printState(PVModel* model) {
  if (tracefileout == nullptr) return;
  *tracefileout << "Model State:" << std::endl;
  printState(model->TheModel);
}

void TraceFileTavrin::printState(BaseModelClass* model) {
  if (tracefileout == nullptr) return;
  std::ostream& out = *tracefileout;
  out << "  Model: (" << model->getId() << ")" << model->getName() << std::endl;
  forEachLocalLeaf(model, &out, [&out](BaseStateVariableClass* leaf) {
    printVariableLine(out, "    ", leaf);
  });
  for (int i = 0; i < model->GetNumberOfChildren(); i++) printState(model->GetChild(i));
}

void TraceFileTavrin::printPreFireAction(BaseActionClass* CurrAction) {
  if (tracefileout == nullptr || TraceLevel < 2) return;
  std::ostream& out = *tracefileout;
  BaseActionClass* shown = CurrAction->getPrintedAction();
  out << "Enabling state before action firing:" << std::endl;
  for (int i = 0; i < shown->getNumEnablingSVs(); i++)
    printVariableLine(out, "  ", shown->getEnablingSV(i));
}

void TraceFileTavrin::printFireAction(BaseActionClass* CurrAction, double CurrentTime) {
  if (tracefileout == nullptr || TraceLevel < 1) return;
  BaseModelClass* model = CurrAction->TheModel;
  *tracefileout << "#### Firing: " << CurrentTime << "  Action: (" << model->getId() << ")"
                << model->getName() << "->" << CurrAction->ActionName << std::endl;
}

void TraceFileTavrin::printPostFireAction(BaseActionClass* CurrAction,
                                          BaseActionClass* TempAction) {
  if (tracefileout == nullptr || TraceLevel < 1) return;
  TAVRIN_ASSERT(TempAction != nullptr);
  std::ostream& out = *tracefileout;
  out << "#### After: (" << CurrAction->TheModel->getId() << ")" << CurrAction->ActionName
      << "->" << TempAction->ActionName << std::endl;
  if (TraceLevel < 2) return;
  out << "Affected state after firing: " << std::endl;
  for (int i = 0; i < TempAction->getNumAffectedSVs(); i++)
    printVariableLine(out, "  ", TempAction->getAffectedSV(i));
}

void TraceFileTavrin::newBatch() {
  if (tracefileout == nullptr) return;
  *tracefileout << "##### NEW BATCH #####" << std::endl;
}
