#ifndef TAVRIN_TRACE_TRACEFILECONTAINER_H
#define TAVRIN_TRACE_TRACEFILECONTAINER_H

#include <vector>

#include "trace/TraceFile.h"

// TraceFileContainer: the one trace object the simulator talks to. It passes every call
// on to its registered writers, in registration order; with none, calls have no effect.
class TraceFileContainer : public TraceFile {
 public:
  TraceFileContainer();
  // The writers are not owned: destroying the container leaves them alone.
  ~TraceFileContainer() override;

  void printHeader(PVModel* model) override;            // does nothing
  void printState(BaseModelClass* model) override;      // does nothing
  void printState(PVModel* model) override;             // does nothing
  using TraceFile::printInitialState;                   // (BaseModelClass*): does nothing

  void printFooter() override;
  void printFireAction(BaseActionClass* CurrAction, double CurrentTime) override;
  void printPreFireAction(BaseActionClass* CurrAction) override;
  void printPostFireAction(BaseActionClass* CurrAction, BaseActionClass* TempAction) override;
  void newBatch() override;
  // Formats into 1000 characters (longer text is cut) and hands it to every printStr.
  void printf(int level, const char* format, ...) override __attribute__((format(printf, 3, 4)));
  void printStr(int level, char* str) override;

  void AddTraceFile(TraceFile* writer);
  // True when no writer is registered: every call then has no effect, and the simulation
  // step can skip making them.
  bool empty() const { return traceFileVec.empty(); }
  // Takes the writer out of the forwarding list, so it may be destroyed before the container.
  void RemoveTraceFile(TraceFile* writer);
  void addPVModel(PVModel* model);
  // The three calls below need the reward model given to addPVModel whenever a writer is
  // registered.
  void printHeader();           // every writer's printHeader(PVmodel)
  void printState();            // every writer's printState(PVmodel)
  void printInitialState();     // every writer's printInitialState of PVmodel's measured model

 private:
  PVModel* PVmodel;                       // not owned: the reward model whose model is traced
  std::vector<TraceFile*> traceFileVec;   // not owned: the writers, in registration order
};

#endif
