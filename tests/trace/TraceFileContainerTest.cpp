#include "trace/TraceFileContainer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TraceTestModels.h"
#include "trace/TraceFileTavrin.h"
#include "trace/TraceFileXML.h"

namespace {

// Notes every call it receives, with its name, in a log shared by all such writers.
class RecordingWriter : public TraceFile {
 public:
  RecordingWriter(const char* name, Lines* log) : Name(name), Log(log) {}
  void printHeader(PVModel* m) override { note("header", m); }
  void printFooter() override { note("footer", nullptr); }
  void printInitialState(BaseModelClass* m) override { note("initial", m); }
  void printState(BaseModelClass* m) override { note("state", m); }
  void printState(PVModel* m) override { note("reward state", m); }
  void printFireAction(BaseActionClass* a, double t) override {
    note("fire " + std::to_string(t), a);
  }
  void printPreFireAction(BaseActionClass* a) override { note("pre", a); }
  void printPostFireAction(BaseActionClass* a, BaseActionClass* b) override {
    note("post", a);
    note("fired", b);
  }
  void newBatch() override { note("batch", nullptr); }
  void printStr(int level, char* str) override {
    Log->push_back(Name + " str " + std::to_string(level) + " " + str);
  }
  static std::string tag(const void* p) {
    std::ostringstream s;
    s << p;
    return s.str();
  }

 private:
  void note(const std::string& what, const void* p) { Log->push_back(Name + " " + what + " " + tag(p)); }
  std::string Name;
  Lines* Log;
};

struct Recorded {
  Recorded() {
    trace.AddTraceFile(&first);
    trace.AddTraceFile(&second);
  }
  Lines log;
  RecordingWriter first{"A", &log};
  RecordingWriter second{"B", &log};
  TraceFileContainer trace;
};

TEST(TraceContainerForwarding, EveryCallReachesEveryWriterInRegistrationOrder) {
  TestPVModel reward(new L2_CACHESAN());
  auto* model = static_cast<L2_CACHESAN*>(reward.TheModel);
  Recorded r;
  r.trace.addPVModel(&reward);
  r.trace.printHeader();
  r.trace.newBatch();
  r.trace.printInitialState();
  r.trace.printPreFireAction(&model->T_READ);
  r.trace.printFireAction(&model->T_READ, 2.5);
  r.trace.printPostFireAction(&model->T_READ, &model->T_WRITE);
  r.trace.printState();
  r.trace.printFooter();
  std::string pv = RecordingWriter::tag(static_cast<PVModel*>(&reward));
  std::string m = RecordingWriter::tag(model), read = RecordingWriter::tag(&model->T_READ);
  std::string write = RecordingWriter::tag(&model->T_WRITE), none = RecordingWriter::tag(nullptr);
  Lines a, b;
  for (const std::string& line : r.log) (line[0] == 'A' ? a : b).push_back(line.substr(2));
  Lines calls{"header " + pv, "batch " + none, "initial " + m, "pre " + read,
              "fire 2.500000 " + read, "post " + read, "fired " + write,
              "reward state " + pv, "footer " + none};
  EXPECT_EQ(a, calls);
  EXPECT_EQ(b, calls);
  ASSERT_EQ(r.log.size(), 18u);
  EXPECT_EQ(r.log[0], "A " + calls[0]);   // A was registered first
  EXPECT_EQ(r.log[1], "B " + calls[0]);
}

TEST(TraceContainerForwarding, PrintfFormatsOnceAndCutsTheTextAt999Characters) {
  Recorded r;
  r.trace.printf(2, "batch %d of %s", 4, "run");
  std::string longText(2000, 'y');
  r.trace.printf(1, "%s", longText.c_str());
  EXPECT_EQ(r.log, (Lines{"A str 2 batch 4 of run", "B str 2 batch 4 of run",
                          "A str 1 " + std::string(999, 'y'), "B str 1 " + std::string(999, 'y')}));
}

TEST(TraceContainerWriters, RemovedWriterReceivesNoMoreCallsAndSurvivesTheContainer) {
  Lines log;
  RecordingWriter kept("A", &log);
  {
    Recorded r;
    r.trace.AddTraceFile(&kept);
    r.trace.RemoveTraceFile(&r.first);
    r.trace.newBatch();
    EXPECT_EQ(r.log, Lines{"B batch " + RecordingWriter::tag(nullptr)});
  }
  kept.newBatch();   // the container left its writers alone
  EXPECT_EQ(log.size(), 2u);
}

TEST(TraceContainerWriters, WithoutWritersEveryCallIsWithoutEffect) {
  L2_CACHESAN model;
  TraceFileContainer trace;
  ::testing::internal::CaptureStdout();
  trace.printHeader();   // no reward model was given, as in a run without tracing
  trace.newBatch();
  trace.printInitialState();
  trace.printFireAction(&model.T_WRITE, 1);
  trace.printPostFireAction(&model.T_WRITE, &model.T_WRITE);
  trace.printState();
  trace.printFooter();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(trace.getTraceLevel(), 1);   // never set without a writer
}

TEST(TraceContainerWriters, BothTracesOnOneStreamInterleaveInCallOrder) {
  TestPVModel reward(new L2_CACHESAN());
  auto* model = static_cast<L2_CACHESAN*>(reward.TheModel);
  std::ostream* savedStream = trout;
  std::ostringstream out;
  TraceFileTavrin text(&out);
  TraceFileXML xml(&out);
  text.setTraceLevel(1);
  TraceFileContainer trace;
  trace.AddTraceFile(&text);
  trace.AddTraceFile(&xml);
  trace.addPVModel(&reward);
  trace.printHeader();
  trace.newBatch();
  trace.printInitialState();
  trace.printFireAction(&model->T_WRITE, 1);
  trace.printPostFireAction(&model->T_WRITE, model->T_WRITE.Fire());
  trace.newBatch();
  trout = savedStream;

  Lines lines = linesOf(out.str());
  auto at = [&lines](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  std::string id = idOf(*model);
  // Each call shows the plain text first, then the XML.
  Lines inOrder{"\t\tTRACE", "<?xml version=\"1.0\" encoding=\"utf-8\" ?>",
                "<Sequence type=\"StateActionType\">", "##### NEW BATCH #####",
                "Initial Model State:", "<S>", "#### Firing: 1  Action: (" + id + ")L2_CACHE->T_WRITE",
                "#### After: (" + id + ")T_WRITE->T_WRITE", "<A id=\"a" + idOf(model->T_WRITE) + "\" t=\"1\">",
                "</Trace>"};
  for (size_t i = 1; i < inOrder.size(); i++)
    EXPECT_LT(at(inOrder[i - 1]), at(inOrder[i])) << inOrder[i];
  EXPECT_EQ(lines.back(), "</Trace>");
  EXPECT_EQ(countOf(lines, "##### NEW BATCH #####"), 2);
}

}  // namespace
