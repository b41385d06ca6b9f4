#include "trace/TraceFileXML.h"

#include <algorithm>
#include <cstring>
#include <ostream>

#include "framework/BaseActionClass.h"
#include "framework/BaseModelClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/state/SharableSV.h"
#include "rewards/PVModel.h"
#include "trace/TraceLeaves.h"

namespace {

// The opening lines that follow the document type, written in this order.
const char* const TraceHeadTexts[3] = {
    "<Trace model=\"Example_Tavrin\" generator=\"manually_generated\" >",
    "<Comment> Purpose of this trace: demonstration </Comment>",
    "<!-- TESTING declaration of processes -->",
};

bool isAtomic(BaseModelClass* model) {
  return model->GetModelType() == BaseModelClass::AtomicModel;
}

void appendUnique(std::vector<int>& ids, int id) {
  if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
}

void printVarDeclaration(std::ostream& out, int modelId, const char* name) {
  out << "<Var id=\"p" << modelId << name << "\" name=\"" << name << "\" />" << std::endl;
}

// Variables that share one value are one group, known by the member that holds the value.
const void* sharingGroupOf(BaseStateVariableClass* leaf) {
  if (auto* scalar = dynamic_cast<SharableSV<short>*>(leaf)) return scalar->getLeader();
  return leaf;
}

void printValue(std::ostream& out, int processId, BaseStateVariableClass* leaf) {
  out << "<V id=\"p" << processId << leaf->getFullyQualifiedName() << "\" val=\"";
  leaf->printStateVal(&out);
  out << "\" />" << std::endl;
}

}  // namespace

TraceFileXML::TraceFileXML()
    : TraceFile(), runNum(-1), LastActionTime(0), Document(DocumentState::NotStarted) {}

TraceFileXML::TraceFileXML(const char* fname)
    : TraceFile(fname), runNum(-1), LastActionTime(0), Document(DocumentState::NotStarted) {}

TraceFileXML::TraceFileXML(std::ostream* stream)
    : TraceFile(stream), runNum(-1), LastActionTime(0), Document(DocumentState::NotStarted) {}

TraceFileXML::~TraceFileXML() {}

void TraceFileXML::printHeader(PVModel* model) {
  if (tracefileout == nullptr || runNum != -1 || Document != DocumentState::NotStarted) return;
  std::ostream& out = *tracefileout;
  out << "<?xml version=\"1.0\" encoding=\"utf-8\" ?>" << std::endl;
  out << "<!DOCTYPE Trace" << std::endl;
  out << "  SYSTEM \"tavrin_trace.dtd\">" << std::endl;
  for (const char* text : TraceHeadTexts) out << text << std::endl;
  out << "<!-- Trace file of model Example_Tavrin -->" << std::endl;
  BaseModelClass* measured = model->TheModel;
  printHeader(measured, measured->getId());
  out << "<Interactions>" << std::endl;
  printHeaderInteractions(measured);
  out << "</Interactions>" << std::endl;
  out << "<!-- process sequence -->" << std::endl;
  out << "<Sequence type=\"StateActionType\">" << std::endl;
  Document = DocumentState::Open;
}

void TraceFileXML::printHeader(BaseModelClass* model, int ParentId) {
  if (tracefileout == nullptr || runNum != -1) return;
  if (isAtomic(model))
    declareAtomicModel(model, ParentId);
  else
    declareComposedModel(model, ParentId);
}

void TraceFileXML::declareAtomicModel(BaseModelClass* model, int ParentId) {
  std::ostream& out = *tracefileout;
  int id = model->getId();
  out << "<Process id=\"p" << id << "\" name=\"" << model->getName() << id << "\" >"
      << std::endl;
  model->SetParentId(ParentId);
  // An action that writes state declared by a composed model is shown as an interaction.
  for (int i = 0; i < model->getNumActions(); i++) {
    BaseActionClass* action = model->getActionList()[i];
    if (affectsUsedState(action)) continue;
    UsedActionNames.push_back(action->ActionName);
    out << "<Action id=\"a" << action->getID() << "\" name=\"" << action->ActionName << "\" />"
        << std::endl;
  }
  ModelMapEntry entry{model, {}};
  forEachLocalLeaf(model, &out, [&](BaseStateVariableClass* leaf) {
    if (leaf->getShared()) return;
    entry.Vars.push_back(leaf);
    printVarDeclaration(out, id, leaf->getFullyQualifiedName());
  });
  out << "</Process>" << std::endl;
  ModelMap.push_front(entry);
}

void TraceFileXML::declareComposedModel(BaseModelClass* model, int ParentId) {
  std::ostream& out = *tracefileout;
  int id = model->getId();
  out << "<Process id=\"p" << id << "\" name=\"" << model->getName() << "\" >" << std::endl;
  model->SetParentId(ParentId);
  ModelMapEntry entry{model, {}};
  // A variable that an enclosing model's variable absorbed (a replicate's, say, joined
  // with another model's place) is the enclosing one's value: declared there, once.
  forEachSharedLeaf(model, [&](BaseStateVariableClass* leaf) {
    if (!leaf->getShared()) return;
    const void* group = sharingGroupOf(leaf);
    if (DeclaredGroups.count(group) != 0) return;
    const char* name = leaf->getFullyQualifiedName();
    if (!addUsedStateName(name, model->getParentId(), id)) return;
    DeclaredGroups[group] = SharedDeclaration{id, leaf};
    entry.Vars.push_back(leaf);
    printVarDeclaration(out, id, name);
  });
  out << "</Process>" << std::endl;
  for (int i = 0; i < model->GetNumberOfChildren(); i++) printHeader(model->GetChild(i), id);
  // Entered after the children, so that the enclosing model is the newest entry.
  ModelMap.push_front(entry);
}

bool TraceFileXML::affectsUsedState(BaseActionClass* action) const {
  for (int i = 0; i < action->getNumAffectedSVs(); i++) {
    BaseStateVariableClass* variable = action->getAffectedSV(i);
    if (inUsedStateName(variable->getFullyQualifiedName()) || declarationOf(variable) != nullptr) return true;
  }
  return false;
}

const TraceFileXML::SharedDeclaration* TraceFileXML::declarationOf(BaseStateVariableClass* variable) const {
  if (!variable->getShared()) return nullptr;
  auto found = DeclaredGroups.find(sharingGroupOf(variable));
  return found == DeclaredGroups.end() ? nullptr : &found->second;
}

void TraceFileXML::printHeaderInteractions(BaseModelClass* model) {
  if (tracefileout == nullptr || runNum != -1) return;
  if (isAtomic(model)) {
    printAtomicInteractions(model);
    return;
  }
  for (int i = 0; i < model->GetNumberOfChildren(); i++)
    printHeaderInteractions(model->GetChild(i));
}

bool TraceFileXML::isUsedActionName(const char* name) const {
  return std::find(UsedActionNames.begin(), UsedActionNames.end(), name) !=
         UsedActionNames.end();
}

void TraceFileXML::printAtomicInteractions(BaseModelClass* model) {
  std::ostream& out = *tracefileout;
  for (int i = 0; i < model->getNumActions(); i++) {
    BaseActionClass* action = model->getActionList()[i];
    if (isUsedActionName(action->ActionName)) continue;
    std::vector<int> touched;
    // A variable of a declared group touches the process that declared it, whatever
    // member's name the action holds; otherwise the name decides.
    for (int j = 0; j < action->getNumAffectedSVs(); j++) {
      BaseStateVariableClass* variable = action->getAffectedSV(j);
      if (const SharedDeclaration* declared = declarationOf(variable)) {
        appendUnique(touched, declared->Process);
        continue;
      }
      const char* name = variable->getFullyQualifiedName();
      if (!inUsedStateName(name)) continue;
      int owner = getModelMap(name, model->getId());
      if (owner != -1) appendUnique(touched, owner);
    }
    if (touched.empty()) continue;
    appendUnique(touched, model->getId());
    out << "<Undiraction id=\"a" << action->getID() << "\" name=\"" << action->ActionName
        << "\">" << std::endl;
    for (int owner : touched) out << "<Touch>p" << owner << "</Touch>";
    out << "</Undiraction>" << std::endl;
  }
}

bool TraceFileXML::inUsedStateName(const char* usedName) const {
  return std::find(UsedStateNames.begin(), UsedStateNames.end(), usedName) !=
         UsedStateNames.end();
}

bool TraceFileXML::addUsedStateName(const char* usedName, int ParentId, int NameId) {
  for (size_t j = 0; j < UsedStateNames.size(); j++)
    if (UsedStateNames[j] == usedName && ParentId >= UsedStateNamesIds[j]) return false;
  UsedStateNames.push_back(usedName);
  UsedStateNamesIds.push_back(NameId);
  return true;
}

int TraceFileXML::getModelMap(const char* name, int ModelId) const {
  for (const ModelMapEntry& entry : ModelMap) {
    int id = entry.Model->getId();
    if (id > ModelId) continue;
    for (BaseStateVariableClass* sv : entry.Vars)
      if (std::strcmp(sv->getFullyQualifiedName(), name) == 0) return id;
  }
  return -1;
}

bool TraceFileXML::addState(const char* stateName) {
  for (const char* known : stateNames)
    if (std::strcmp(known, stateName) == 0) return false;
  stateNames.push_back(stateName);
  return true;
}

bool TraceFileXML::firstBatchOpen() const {
  return runNum == 0 && Document == DocumentState::Open;
}

void TraceFileXML::printInitialState(BaseModelClass* model) {
  if (!firstBatchOpen()) return;
  *tracefileout << "<S>" << std::endl;
  printState(model);
  *tracefileout << "</S>" << std::endl;
  stateNames.clear();
}

void TraceFileXML::printState(BaseModelClass* model) {
  if (!firstBatchOpen()) return;
  std::ostream& out = *tracefileout;
  int id = model->getId();
  if (isAtomic(model)) {
    forEachLocalLeaf(model, &out, [&](BaseStateVariableClass* leaf) {
      if (!leaf->getShared()) printValue(out, id, leaf);
    });
    return;
  }
  forEachSharedLeaf(model, [&](BaseStateVariableClass* leaf) {
    const SharedDeclaration* declared = declarationOf(leaf);
    if (declared != nullptr && declared->Leaf == leaf) printValue(out, declared->Process, leaf);
  });
  for (int i = 0; i < model->GetNumberOfChildren(); i++) printState(model->GetChild(i));
}

void TraceFileXML::printState(PVModel*) {}

void TraceFileXML::printFireAction(BaseActionClass*, double CurrentTime) {
  if (firstBatchOpen()) LastActionTime = CurrentTime;
}

void TraceFileXML::printPreFireAction(BaseActionClass*) {}

void TraceFileXML::printPostFireAction(BaseActionClass* CurrAction, BaseActionClass* TempAction) {
  if (!firstBatchOpen()) return;
  std::ostream& out = *tracefileout;
  int modelId = CurrAction->TheModel->getId();
  out << "<A id=\"a" << TempAction->getID() << "\" t=\"" << LastActionTime << "\">" << std::endl;
  for (int i = 0; i < TempAction->getNumAffectedSVs(); i++) {
    BaseStateVariableClass* sv = TempAction->getAffectedSV(i);
    const char* name = sv->getFullyQualifiedName();
    int process = sv->getShared() ? getModelMap(name, modelId) : modelId;
    // A shared value is written under the variable that declared it.
    if (const SharedDeclaration* declared = declarationOf(sv)) {
      name = declared->Leaf->getFullyQualifiedName();
      process = declared->Process;
    }
    out << "  <V id=\"p" << process << name << "\"  val=\"";
    sv->printStateVal(&out);
    out << "\" />" << std::endl;
  }
  out << "</A>" << std::endl;
}

void TraceFileXML::newBatch() {
  runNum++;
  if (runNum == 1 && Document == DocumentState::Open) closeDocument();
}

void TraceFileXML::printFooter() {
  if (Document == DocumentState::Open) closeDocument();
}

void TraceFileXML::closeDocument() {
  *tracefileout << "</Sequence>" << std::endl << "</Trace>" << std::endl;
  Document = DocumentState::Closed;
}
