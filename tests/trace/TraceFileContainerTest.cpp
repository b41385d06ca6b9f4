#include "trace/TraceFileContainer.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "TraceTestModels.h"
#include "TraceTestPVModel.h"
#include "trace/TraceFileTavrin.h"
#include "trace/TraceFileXML.h"

namespace {

using Lines = std::vector<std::string>;

// A writer that notes every call it receives, with its name, in a log shared by all.
class RecordingWriter : public TraceFile {
 public:
  RecordingWriter(const char* name, Lines* log) : Name(name), Log(log) {}

  void printHeader(PVModel* model) override { note("printHeader", model); }
  void printFooter() override { note("printFooter"); }
  void printInitialState(BaseModelClass* model) override { note("printInitialState", model); }
  void printState(BaseModelClass* model) override { note("printState(model)", model); }
  void printState(PVModel* model) override { note("printState(reward)", model); }
  void printFireAction(BaseActionClass* action, double time) override {
    note("printFireAction " + std::to_string(action->getID()) + " " + std::to_string(time));
  }
  void printPreFireAction(BaseActionClass* action) override {
    note("printPreFireAction " + std::to_string(action->getID()));
  }
  void printPostFireAction(BaseActionClass* action, BaseActionClass* fired) override {
    note("printPostFireAction " + std::to_string(action->getID()) + " " +
         std::to_string(fired->getID()));
  }
  void newBatch() override { note("newBatch"); }
  void printStr(int level, char* str) override {
    note("printStr " + std::to_string(level) + " " + str);
  }

  // Identifies which object a call carried.
  static std::string tag(const void* p) {
    std::ostringstream s;
    s << p;
    return s.str();
  }

 private:
  void note(const std::string& what) { Log->push_back(Name + ":" + what); }
  void note(const std::string& what, const void* p) { note(what + " " + tag(p)); }

  std::string Name;
  Lines* Log;
};

TEST(TraceContainerForwarding, EveryCallReachesEveryWriterInRegistrationOrder) {
  CacheSAN model("L2_CACHE", 1, 0);
  Lines log;
  RecordingWriter first("A", &log);
  RecordingWriter second("B", &log);
  TraceFileContainer trace;
  trace.AddTraceFile(&first);
  trace.AddTraceFile(&second);
  std::string read = std::to_string(model.T_READ.getID());
  std::string write = std::to_string(model.T_WRITE.getID());

  trace.newBatch();
  trace.printPreFireAction(&model.T_READ);
  trace.printFireAction(&model.T_READ, 2.5);
  trace.printPostFireAction(&model.T_READ, &model.T_WRITE);
  trace.printFooter();
  char text[] = "raw";
  trace.printStr(3, text);

  EXPECT_EQ(log, (Lines{"A:newBatch", "B:newBatch", "A:printPreFireAction " + read,
                        "B:printPreFireAction " + read,
                        "A:printFireAction " + read + " 2.500000",
                        "B:printFireAction " + read + " 2.500000",
                        "A:printPostFireAction " + read + " " + write,
                        "B:printPostFireAction " + read + " " + write, "A:printFooter",
                        "B:printFooter", "A:printStr 3 raw", "B:printStr 3 raw"}));
}

TEST(TraceContainerForwarding, ModelCallsCarryTheRewardModelOrItsMeasuredModel) {
  TestPVModel reward(new CacheSAN("L2_CACHE", 1, 0));
  Lines log;
  RecordingWriter writer("A", &log);
  TraceFileContainer trace;
  trace.AddTraceFile(&writer);
  trace.addPVModel(&reward);
  trace.printHeader();
  trace.printInitialState();
  trace.printState();
  std::string rewardTag = RecordingWriter::tag(static_cast<PVModel*>(&reward));
  std::string modelTag = RecordingWriter::tag(reward.TheModel);
  EXPECT_EQ(log, (Lines{"A:printHeader " + rewardTag, "A:printInitialState " + modelTag,
                        "A:printState(reward) " + rewardTag}));
}

TEST(TraceContainerForwarding, ItsOwnModelOperationsForwardNothing) {
  TestPVModel reward(new CacheSAN("L2_CACHE", 1, 0));
  Lines log;
  RecordingWriter writer("A", &log);
  TraceFileContainer trace;
  trace.AddTraceFile(&writer);
  TraceFile& asWriter = trace;
  asWriter.printHeader(&reward);
  asWriter.printState(reward.TheModel);
  asWriter.printState(static_cast<PVModel*>(&reward));
  asWriter.printInitialState(reward.TheModel);
  EXPECT_EQ(log, Lines{});
}

TEST(TraceContainerForwarding, PrintfFormatsOnceForAllWriters) {
  Lines log;
  RecordingWriter first("A", &log);
  RecordingWriter second("B", &log);
  TraceFileContainer trace;
  trace.AddTraceFile(&first);
  trace.AddTraceFile(&second);
  trace.printf(2, "batch %d of %s", 4, "run");
  EXPECT_EQ(log, (Lines{"A:printStr 2 batch 4 of run", "B:printStr 2 batch 4 of run"}));
}

TEST(TraceContainerForwarding, PrintfCutsTextAt999Characters) {
  Lines log;
  RecordingWriter writer("A", &log);
  TraceFileContainer trace;
  trace.AddTraceFile(&writer);
  std::string longText(2000, 'y');
  trace.printf(1, "%s", longText.c_str());
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "A:printStr 1 " + std::string(999, 'y'));
}

TEST(TraceContainerForwarding, PrintfTextReachesNeitherWriterKindsOutput) {
  std::ostringstream out;
  TraceFileTavrin text(&out);
  TraceFileXML xml(&out);
  TraceFileContainer trace;
  trace.AddTraceFile(&text);
  trace.AddTraceFile(&xml);
  trace.printf(0, "note %d", 1);
  EXPECT_EQ(out.str(), "");
}

TEST(TraceContainerWriters, RemovedWriterReceivesNoMoreCalls) {
  Lines log;
  RecordingWriter first("A", &log);
  RecordingWriter second("B", &log);
  TraceFileContainer trace;
  trace.AddTraceFile(&first);
  trace.AddTraceFile(&second);
  trace.RemoveTraceFile(&first);
  trace.newBatch();
  EXPECT_EQ(log, Lines{"B:newBatch"});
}

TEST(TraceContainerWriters, WithoutWritersEveryCallIsWithoutEffect) {
  CacheSAN model("L2_CACHE", 1, 0);
  TraceFileContainer trace;
  ::testing::internal::CaptureStdout();
  trace.printHeader();   // no reward model was given, as in a run without tracing
  trace.newBatch();
  trace.printInitialState();
  trace.printPreFireAction(&model.T_READ);
  trace.printFireAction(&model.T_READ, 1);
  trace.printPostFireAction(&model.T_READ, &model.T_READ);
  trace.printState();
  trace.printFooter();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(trace.getTraceLevel(), 1);   // never set without a writer
}

TEST(TraceContainerWriters, DestroyingTheContainerLeavesItsWritersUsable) {
  std::ostringstream out;
  TraceFileTavrin writer(&out);
  {
    TraceFileContainer trace;
    trace.AddTraceFile(&writer);
    trace.newBatch();
  }
  writer.newBatch();
  EXPECT_EQ(out.str(), "##### NEW BATCH #####\n##### NEW BATCH #####\n");
}

TEST(TraceContainerWriters, BothTracesOnOneStreamInterleaveInCallOrder) {
  TestPVModel reward(new CacheSAN("L2_CACHE", 1, 0));
  auto* model = static_cast<CacheSAN*>(reward.TheModel);
  std::ostream* savedStream = trout;
  std::ostringstream out;
  TraceFileContainer trace;
  TraceFileTavrin text(&out);
  TraceFileXML xml(&out);
  trace.setTraceLevel(1);
  text.setTraceLevel(1);
  xml.setTraceLevel(1);
  trace.AddTraceFile(&text);
  trace.AddTraceFile(&xml);
  trace.addPVModel(&reward);
  trace.printHeader();
  trace.newBatch();
  trace.printInitialState();
  trace.printFireAction(&model->T_READ, 1);
  trace.printPostFireAction(&model->T_READ, model->T_READ.Fire());
  trace.newBatch();
  trout = savedStream;

  Lines lines = linesOf(out.str());
  std::string id = idOf(*model);
  std::string read = std::to_string(model->T_READ.getID());
  // The text header, then the XML head; each later call shows text first, then XML.
  Lines expected{std::string(38, '*'), "\t\tTRACE", std::string(38, '*')};
  Lines xmlHead(lines.begin() + 3, lines.begin() + 3 + 18);
  ASSERT_EQ(xmlHead.front(), "<?xml version=\"1.0\" encoding=\"utf-8\" ?>");
  ASSERT_EQ(xmlHead.back(), "<Sequence type=\"StateActionType\">");
  expected.insert(expected.end(), xmlHead.begin(), xmlHead.end());
  Lines rest{"##### NEW BATCH #####",
             "Initial Model State:",
             "  Model: (" + id + ")L2_CACHE",
             "    READ = 1",
             "    WRITE = 0",
             "    L2_CONTENT = 0",
             "<S>",
             "<V id=\"p" + id + "READ\" val=\"1\" />",
             "<V id=\"p" + id + "WRITE\" val=\"0\" />",
             "<V id=\"p" + id + "L2_CONTENT\" val=\"0\" />",
             "</S>",
             "#### Firing: 1  Action: (" + id + ")L2_CACHE->T_READ",
             "#### After: (" + id + ")T_READ->T_READ",
             "<A id=\"a" + read + "\" t=\"1\">",
             "  <V id=\"p" + id + "READ\"  val=\"0\" />",
             "  <V id=\"p" + id + "L2_CONTENT\"  val=\"1\" />",
             "</A>",
             "##### NEW BATCH #####",
             "</Sequence>",
             "</Trace>"};
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(lines, expected);
}

}  // namespace
