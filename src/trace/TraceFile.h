#ifndef TAVRIN_TRACE_TRACEFILE_H
#define TAVRIN_TRACE_TRACEFILE_H

#include <ostream>

class BaseActionClass;
class BaseModelClass;
class PVModel;

// The level last given to any writer by setTraceLevel; Traceprintf compares against it.
extern int TraceLevel;
// The stream Traceprintf writes to: the standard output, or the stream of the most
// recently constructed plain-text writer that was given a file name or a stream.
extern std::ostream* trout;

// Writes a printf-style message to trout when TraceLevel is at least level; a level-0
// message also reaches the standard output when trout is elsewhere. Text beyond 999
// characters is cut. Returns 0. Not reentrant: it formats into a static buffer.
int Traceprintf(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// TraceFile: the interface of every trace writer. The base writes nothing; each writer
// kind overrides the calls it shows.
class TraceFile {
 public:
  TraceFile();                                // level 1, no stream
  explicit TraceFile(const char* fname);      // level 0, writes the file fname (truncated)
  explicit TraceFile(std::ostream* stream);   // level 0, writes stream, which stays the caller's
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  virtual void printHeader(PVModel* model);
  virtual void printFooter();
  virtual void printInitialState(BaseModelClass* model);
  virtual void printState(BaseModelClass* model);
  virtual void printState(PVModel* model);    // the state of the reward model's measured model
  virtual void printFireAction(BaseActionClass* CurrAction, double CurrentTime);
  virtual void printPreFireAction(BaseActionClass* CurrAction);
  virtual void printPostFireAction(BaseActionClass* CurrAction, BaseActionClass* TempAction);
  virtual void newBatch();
  virtual void printf(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
  virtual void printStr(int level, char* str);
  // Closes the file of a writer made with a file name; a caller's stream is left alone.
  virtual ~TraceFile();

  void setTraceLevel(int level);              // also sets the global TraceLevel
  int getTraceLevel() const;

 protected:
  int TraceLevel;
  std::ostream* tracefileout;                 // owned only when OwnsStream

 private:
  bool OwnsStream;                            // true for the file-name constructor
};

#endif
