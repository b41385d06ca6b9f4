#ifndef TAVRIN_TRACE_TRACEFILETAVRIN_H
#define TAVRIN_TRACE_TRACEFILETAVRIN_H

#include "trace/TraceFile.h"

// TraceFileTavrin: the plain-text trace. Every firing is shown by its line and, from
// level 2, by the state it read and wrote; states are shown model by model.
class TraceFileTavrin : public TraceFile {
 public:
  TraceFileTavrin();
  explicit TraceFileTavrin(const char* fname);      // also makes this writer's file trout
  explicit TraceFileTavrin(std::ostream* stream);   // also makes stream trout
  // Points trout back at the standard output when it is this writer's stream.
  ~TraceFileTavrin() override;

  void printHeader(PVModel* model) override;
  void printFooter() override;
  void printInitialState(BaseModelClass* model) override;
  void printState(BaseModelClass* model) override;
  void printState(PVModel* model) override;
  void printFireAction(BaseActionClass* CurrAction, double CurrentTime) override;
  void printPreFireAction(BaseActionClass* CurrAction) override;
  void printPostFireAction(BaseActionClass* CurrAction, BaseActionClass* TempAction) override;
  void newBatch() override;
};

#endif
