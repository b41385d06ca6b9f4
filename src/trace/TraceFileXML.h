#ifndef TAVRIN_TRACE_TRACEFILEXML_H
#define TAVRIN_TRACE_TRACEFILEXML_H

#include <list>
#include <map>
#include <string>
#include <vector>

#include "trace/TraceFile.h"

class BaseStateVariableClass;

// TraceFileXML: the first batch of a run as an XML document for a trace visualiser:
// one process per model with its actions and variables, the actions that touch state
// shared between processes, the initial values, and one element per firing.
class TraceFileXML : public TraceFile {
 public:
  TraceFileXML();
  explicit TraceFileXML(const char* fname);
  explicit TraceFileXML(std::ostream* stream);
  ~TraceFileXML() override;

  // Writes the document head: the process declarations, the interactions and the opening
  // of the sequence. Only once, and only before the first batch.
  void printHeader(PVModel* model) override;
  // Closes a document that is still open, so the output is well-formed however the run ended.
  void printFooter() override;
  void printInitialState(BaseModelClass* model) override;
  void printState(BaseModelClass* model) override;
  void printState(PVModel* model) override;   // does nothing: only the first batch's firings are kept
  void printFireAction(BaseActionClass* CurrAction, double CurrentTime) override;
  void printPreFireAction(BaseActionClass* CurrAction) override;   // does nothing
  void printPostFireAction(BaseActionClass* CurrAction, BaseActionClass* TempAction) override;
  // The first call opens the first batch; the second ends it and closes the document.
  void newBatch() override;

  // Declares the process of model and, for a composed model, those of its children.
  void printHeader(BaseModelClass* model, int ParentId);
  // Writes the actions of the atomic models under model that touch a composed model's state.
  void printHeaderInteractions(BaseModelClass* model);

  bool inUsedStateName(const char* usedName) const;
  // Records a shared variable declared by the model NameId, unless a model at or above
  // ParentId already declared that name. True when recorded.
  bool addUsedStateName(const char* usedName, int ParentId, int NameId);
  // The id of the newest declared model, among those with an id up to ModelId, that
  // declared the variable named name; -1 when there is none.
  int getModelMap(const char* name, int ModelId) const;
  bool addState(const char* stateName);

 private:
  // Where a group of variables sharing one value is declared: the process and the member
  // whose name the document uses for it.
  struct SharedDeclaration {
    int Process;
    BaseStateVariableClass* Leaf;   // not owned
  };
  const SharedDeclaration* declarationOf(BaseStateVariableClass* variable) const;

  struct ModelMapEntry {
    BaseModelClass* Model;                        // not owned
    std::vector<BaseStateVariableClass*> Vars;    // not owned: the variables declared for Model
  };

  void declareAtomicModel(BaseModelClass* model, int ParentId);
  void declareComposedModel(BaseModelClass* model, int ParentId);
  void printAtomicInteractions(BaseModelClass* model);
  bool affectsUsedState(BaseActionClass* action) const;
  bool isUsedActionName(const char* name) const;
  void closeDocument();
  bool firstBatchOpen() const;

  // The head is written at most once, and the closing lines at most once after it.
  enum class DocumentState { NotStarted, Open, Closed };

  std::vector<const char*> stateNames;            // not owned
  std::vector<std::string> UsedStateNames;
  std::vector<const char*> UsedActionNames;       // not owned: the actions' own name texts
  std::vector<int> UsedStateNamesIds;             // for each used name, the model that declared it
  int runNum;                                     // -1 before the first batch, 0 during it
  double LastActionTime;
  std::list<ModelMapEntry> ModelMap;              // newest entry first
  std::map<const void*, SharedDeclaration> DeclaredGroups;   // by sharingGroupOf
  DocumentState Document;
};

#endif
