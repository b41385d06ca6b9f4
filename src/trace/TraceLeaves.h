#ifndef TAVRIN_TRACE_TRACELEAVES_H
#define TAVRIN_TRACE_TRACELEAVES_H

#include <memory>
#include <ostream>

#include "framework/BaseModelClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/List.h"
#include "framework/san/SANModel.h"

// How the trace writers walk a model's state: variable by variable in list order, and
// within a structured variable leaf by leaf.

template <class Visit>
void forEachLeaf(BaseStateVariableClass* variable, Visit visit) {
  std::unique_ptr<List<BaseStateVariableClass>> leaves(variable->getLeafNodes());
  for (int i = 0; i < leaves->getNumItems(); i++) visit(leaves->getItem(i));
}

// The local array of an atomic model holds its places only, while its variable count
// also counts the read-only places, so the walk stops at the places.
inline int traceLocalVariableCount(BaseModelClass* model) {
  if (SANModel* san = dynamic_cast<SANModel*>(model)) return san->getNumLocalStateVariables();
  return model->getNumStateVariables();
}

template <class Visit>
void forEachLocalLeaf(BaseModelClass* model, std::ostream* out, Visit visit) {
  BaseStateVariableClass** variables = model->GetLocalStateVariables(out);
  if (variables == nullptr) return;
  int count = traceLocalVariableCount(model);
  for (int i = 0; i < count; i++) forEachLeaf(variables[i], visit);
}

template <class Visit>
void forEachSharedLeaf(BaseModelClass* model, Visit visit) {
  BaseStateVariableClass** variables = model->GetSharedStateVariables();
  if (variables == nullptr) return;
  for (int i = 0; i < model->getNumSharedStateVariables(); i++) forEachLeaf(variables[i], visit);
}

#endif
