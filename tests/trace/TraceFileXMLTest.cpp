#include "trace/TraceFileXML.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TraceTestModels.h"
#include "TraceTestPVModel.h"

namespace {

using Lines = std::vector<std::string>;

// The lines before the process declarations, and the ones that open the sequence.
Lines documentHead() {
  return {"<?xml version=\"1.0\" encoding=\"utf-8\" ?>",
          "<!DOCTYPE Trace",
          "  SYSTEM \"tavrin_trace.dtd\">",
          "<Trace model=\"Example_Tavrin\" generator=\"manually_generated\" >",
          "<Comment> Purpose of this trace: demonstration </Comment>",
          "<!-- TESTING declaration of processes -->",
          "<!-- Trace file of model Example_Tavrin -->"};
}

Lines sequenceOpening() { return {"<!-- process sequence -->", "<Sequence type=\"StateActionType\">"}; }

Lines joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::string action(const BaseActionClass& a) { return std::to_string(a.getID()); }

// The process of a cache model that shares nothing: its name carries its id.
Lines cacheProcess(const CacheSAN& m) {
  std::string p = "p" + idOf(m);
  return {"<Process id=\"" + p + "\" name=\"" + m.getName() + idOf(m) + "\" >",
          "<Action id=\"a" + action(m.T_READ) + "\" name=\"T_READ\" />",
          "<Action id=\"a" + action(m.T_WRITE) + "\" name=\"T_WRITE\" />",
          "<Var id=\"" + p + "READ\" name=\"READ\" />",
          "<Var id=\"" + p + "WRITE\" name=\"WRITE\" />",
          "<Var id=\"" + p + "L2_CONTENT\" name=\"L2_CONTENT\" />",
          "</Process>"};
}

// A run of one cache model: set-up, the first batch with one firing of T_READ at 0.25,
// the end of that batch, a second batch with another firing, and the end of the run.
struct AtomicRun {
  AtomicRun() : reward(new CacheSAN("L2_CACHE", 2, 0)), model(static_cast<CacheSAN*>(reward.TheModel)), writer(&out) {}

  void firstBatch() {
    writer.printHeader(&reward);
    writer.newBatch();
    writer.printInitialState(model);
    fire(0.25);
  }
  void fire(double time) {
    writer.printPreFireAction(&model->T_READ);
    writer.printFireAction(&model->T_READ, time);
    writer.printPostFireAction(&model->T_READ, model->T_READ.Fire());
    writer.printState(static_cast<PVModel*>(&reward));
  }
  Lines lines() const { return linesOf(out.str()); }

  TestPVModel reward;
  CacheSAN* model;
  std::ostringstream out;
  TraceFileXML writer;
};

TEST(XMLTraceDocument, FirstBatchOfAnAtomicModelIsOneCompleteDocument) {
  AtomicRun run;
  run.firstBatch();
  run.writer.newBatch();   // end of the first batch
  run.writer.printInitialState(run.model);   // the second batch is not written
  run.fire(0.75);
  run.writer.newBatch();
  run.writer.printFooter();

  std::string p = "p" + idOf(*run.model);
  // READ starts at 2; the firing at 0.25 leaves 1 in READ and 1 in L2_CONTENT.
  Lines expected = joined({documentHead(), cacheProcess(*run.model),
                           {"<Interactions>", "</Interactions>"}, sequenceOpening(),
                           {"<S>", "<V id=\"" + p + "READ\" val=\"2\" />",
                            "<V id=\"" + p + "WRITE\" val=\"0\" />",
                            "<V id=\"" + p + "L2_CONTENT\" val=\"0\" />", "</S>",
                            "<A id=\"a" + action(run.model->T_READ) + "\" t=\"0.25\">",
                            "  <V id=\"" + p + "READ\"  val=\"1\" />",
                            "  <V id=\"" + p + "L2_CONTENT\"  val=\"1\" />", "</A>",
                            "</Sequence>", "</Trace>"}});
  EXPECT_EQ(run.lines(), expected);
}

TEST(XMLTraceDocument, FooterClosesADocumentLeftOpenInTheFirstBatch) {
  AtomicRun run;
  run.firstBatch();
  run.writer.printFooter();
  run.writer.printFooter();   // a closed document gets nothing more
  run.writer.newBatch();
  Lines lines = run.lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "</A>");
  EXPECT_EQ(lines[lines.size() - 2], "</Sequence>");
  EXPECT_EQ(lines[lines.size() - 1], "</Trace>");
}

TEST(XMLTraceDocument, FooterBeforeAnyBatchClosesTheHead) {
  AtomicRun run;
  run.writer.printHeader(&run.reward);
  run.writer.printInitialState(run.model);   // before the first batch: not written
  run.fire(1);
  run.writer.printFooter();
  run.writer.newBatch();   // too late: nothing follows the closing lines
  run.writer.printInitialState(run.model);
  Lines expected = joined({documentHead(), cacheProcess(*run.model),
                           {"<Interactions>", "</Interactions>"}, sequenceOpening(),
                           {"</Sequence>", "</Trace>"}});
  EXPECT_EQ(run.lines(), expected);
}

TEST(XMLTraceDocument, HeadIsWrittenOnce) {
  AtomicRun run;
  run.writer.printHeader(&run.reward);
  size_t once = run.lines().size();
  run.writer.printHeader(&run.reward);
  run.writer.newBatch();
  run.writer.printHeader(&run.reward);
  EXPECT_EQ(run.lines().size(), once);
}

TEST(XMLTraceDocument, WritersOwnLevelIsNotConsulted) {
  AtomicRun run;
  run.writer.setTraceLevel(0);
  run.firstBatch();
  Lines lines = run.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 4], "<A id=\"a" + action(run.model->T_READ) + "\" t=\"0.25\">");
}

TEST(XMLTraceDocument, NothingIsWrittenWithoutTheHead) {
  AtomicRun run;
  run.writer.newBatch();
  run.writer.printInitialState(run.model);
  run.fire(1);
  run.writer.newBatch();
  run.writer.printFooter();
  EXPECT_EQ(run.out.str(), "");
}

TEST(XMLTraceDocument, UndeclaredSharedPlaceIsReferencedAsProcessMinusOne) {
  AtomicRun run;
  run.model->READ->setShared(true);   // shared, but no composed model declares it
  run.firstBatch();
  Lines lines = run.lines();
  std::string p = "p" + idOf(*run.model);
  // Not declared under its process and left out of the initial values.
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "<Var id=\"" + p + "READ\" name=\"READ\" />"), 0);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "<V id=\"" + p + "READ\" val=\"2\" />"), 0);
  // No composed model declared READ, so T_READ stays an ordinary action.
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "<Action id=\"a" + action(run.model->T_READ) + "\" name=\"T_READ\" />"),
            1);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "  <V id=\"p-1READ\"  val=\"1\" />");
}

TEST(XMLTraceNames, UsedStateNameIsRecordedUnlessAModelAtOrAboveDeclaredIt) {
  TraceFileXML writer;
  EXPECT_FALSE(writer.inUsedStateName("x"));
  EXPECT_TRUE(writer.addUsedStateName("x", 5, 5));
  EXPECT_TRUE(writer.inUsedStateName("x"));
  EXPECT_FALSE(writer.addUsedStateName("x", 5, 7));   // 5 >= 5: already declared above
  EXPECT_FALSE(writer.addUsedStateName("x", 6, 8));
  EXPECT_TRUE(writer.addUsedStateName("x", 3, 3));    // 3 < 5: another branch
  EXPECT_FALSE(writer.addUsedStateName("x", 4, 9));   // 4 < 5, but 4 >= 3
  EXPECT_TRUE(writer.addUsedStateName("y", 9, 9));
  EXPECT_FALSE(writer.inUsedStateName("z"));
}

TEST(XMLTraceNames, AddStateKeepsEachNameOnce) {
  TraceFileXML writer;
  std::string copy = "READ";
  EXPECT_TRUE(writer.addState("READ"));
  EXPECT_FALSE(writer.addState(copy.c_str()));   // compared as text
  EXPECT_TRUE(writer.addState("WRITE"));
}

// Two caches that share their READ place, declared by the composed model around them.
struct SharedReadRun {
  SharedReadRun() : join(new TestJoin("CACHES")) {
    left = new CacheSAN("LEFT", 1, 0);
    right = new CacheSAN("RIGHT", 1, 1);
    join->addChild(left);
    join->addChild(right);
    left->READ->share(right->READ);
    join->addShared(left->READ);
    reward.reset(new TestPVModel(join));
  }
  TestJoin* join;
  CacheSAN* left;
  CacheSAN* right;
  std::unique_ptr<TestPVModel> reward;
};

TEST(XMLTraceComposed, SharedPlaceIsDeclaredByTheComposedModelAndTouchedByBothChildren) {
  SharedReadRun m;
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(m.reward.get());
  writer.newBatch();
  writer.printInitialState(m.join);
  writer.printFireAction(&m.right->T_READ, 2);
  writer.printPostFireAction(&m.right->T_READ, m.right->T_READ.Fire());
  writer.newBatch();

  std::string pj = "p" + idOf(*m.join), pl = "p" + idOf(*m.left), pr = "p" + idOf(*m.right);
  auto childProcess = [](const CacheSAN& c, const std::string& p) {
    return Lines{"<Process id=\"" + p + "\" name=\"" + c.getName() + idOf(c) + "\" >",
                 "<Action id=\"a" + action(c.T_WRITE) + "\" name=\"T_WRITE\" />",
                 "<Var id=\"" + p + "WRITE\" name=\"WRITE\" />",
                 "<Var id=\"" + p + "L2_CONTENT\" name=\"L2_CONTENT\" />", "</Process>"};
  };
  // The shared READ holds 1; the firing of RIGHT's T_READ at 2 takes it to 0.
  Lines expected = joined(
      {documentHead(),
       {"<Process id=\"" + pj + "\" name=\"CACHES\" >", "<Var id=\"" + pj + "READ\" name=\"READ\" />",
        "</Process>"},
       childProcess(*m.left, pl), childProcess(*m.right, pr),
       {"<Interactions>",
        "<Undiraction id=\"a" + action(m.left->T_READ) + "\" name=\"T_READ\">",
        "<Touch>" + pj + "</Touch><Touch>" + pl + "</Touch></Undiraction>",
        "<Undiraction id=\"a" + action(m.right->T_READ) + "\" name=\"T_READ\">",
        "<Touch>" + pj + "</Touch><Touch>" + pr + "</Touch></Undiraction>", "</Interactions>"},
       sequenceOpening(),
       {"<S>", "<V id=\"" + pj + "READ\" val=\"1\" />", "<V id=\"" + pl + "WRITE\" val=\"0\" />",
        "<V id=\"" + pl + "L2_CONTENT\" val=\"0\" />", "<V id=\"" + pr + "WRITE\" val=\"1\" />",
        "<V id=\"" + pr + "L2_CONTENT\" val=\"0\" />", "</S>",
        "<A id=\"a" + action(m.right->T_READ) + "\" t=\"2\">",
        "  <V id=\"" + pj + "READ\"  val=\"0\" />", "  <V id=\"" + pr + "L2_CONTENT\"  val=\"1\" />",
        "</A>", "</Sequence>", "</Trace>"}});
  EXPECT_EQ(linesOf(out.str()), expected);
  EXPECT_EQ(m.left->getParentId(), m.join->getId());
  EXPECT_EQ(m.join->getParentId(), m.join->getId());
}

// TOP holds two composed models, each around one cache whose READ it declares shared.
// Built in this order, so ids grow: TOP, LEFTJ, A, RIGHTJ, B.
struct TwoBranches {
  TwoBranches() : top(new TestJoin("TOP")) {
    leftJoin = new TestJoin("LEFTJ");
    a = new CacheSAN("A", 1, 0);
    leftJoin->addChild(a);
    rightJoin = new TestJoin("RIGHTJ");
    b = new CacheSAN("B", 1, 0);
    rightJoin->addChild(b);
    top->addChild(leftJoin);
    top->addChild(rightJoin);
    a->READ->setShared(true);
    b->READ->setShared(true);
    leftJoin->addShared(a->READ);
    rightJoin->addShared(b->READ);
    reward.reset(new TestPVModel(top));
  }
  TestJoin* top;
  TestJoin* leftJoin;
  CacheSAN* a;
  TestJoin* rightJoin;
  CacheSAN* b;
  std::unique_ptr<TestPVModel> reward;
};

TEST(XMLTraceComposed, NewestDeclarationWithinTheModelIdDecides) {
  TwoBranches m;
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(m.reward.get());
  // Newest first: TOP, RIGHTJ, B, LEFTJ, A. Both branches declared READ, as their
  // parent's id is below the first declarer's.
  EXPECT_EQ(writer.getModelMap("READ", m.b->getId()), m.rightJoin->getId());
  EXPECT_EQ(writer.getModelMap("READ", m.rightJoin->getId()), m.rightJoin->getId());
  // RIGHTJ and B have ids above A's, so A's search reaches LEFTJ.
  EXPECT_EQ(writer.getModelMap("READ", m.a->getId()), m.leftJoin->getId());
  EXPECT_EQ(writer.getModelMap("READ", m.top->getId()), -1);
  // A's and B's unshared WRITE: B's entry is newer than A's.
  EXPECT_EQ(writer.getModelMap("WRITE", m.a->getId()), m.a->getId());
  EXPECT_EQ(writer.getModelMap("WRITE", m.b->getId()), m.b->getId());
  EXPECT_EQ(writer.getModelMap("NONE", m.b->getId()), -1);

  Lines lines = linesOf(out.str());
  std::string pl = "p" + idOf(*m.leftJoin), pr = "p" + idOf(*m.rightJoin);
  std::string pa = "p" + idOf(*m.a), pb = "p" + idOf(*m.b);
  auto has = [&lines](const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
  };
  EXPECT_EQ(has("<Var id=\"" + pl + "READ\" name=\"READ\" />"), 1);
  EXPECT_EQ(has("<Var id=\"" + pr + "READ\" name=\"READ\" />"), 1);
  EXPECT_EQ(has("<Touch>" + pl + "</Touch><Touch>" + pa + "</Touch></Undiraction>"), 1);
  EXPECT_EQ(has("<Touch>" + pr + "</Touch><Touch>" + pb + "</Touch></Undiraction>"), 1);
}

TEST(XMLTraceComposed, NameDeclaredAboveIsNotDeclaredAgainBelow) {
  TwoBranches m;
  m.top->addShared(m.a->READ);   // TOP declares READ first, for the whole tree
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(m.reward.get());
  Lines lines = linesOf(out.str());
  std::string pt = "p" + idOf(*m.top);
  auto readDeclarations = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.rfind("<Var id=\"p", 0) == 0 && l.find("READ\" name=\"READ\"") != std::string::npos;
  });
  EXPECT_EQ(readDeclarations, 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "<Var id=\"" + pt + "READ\" name=\"READ\" />"), 1);
  // Only TOP holds READ now, and its id is below every other, so every search finds it.
  EXPECT_EQ(writer.getModelMap("READ", m.b->getId()), m.top->getId());
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "<Touch>" + pt + "</Touch><Touch>p" + idOf(*m.a) + "</Touch></Undiraction>"),
            1);
}

TEST(XMLTraceComposed, UnsharedVariableOfACompositionIsNotDeclared) {
  TwoBranches m;
  m.top->addShared(m.b->WRITE);   // listed, but not shared
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(m.reward.get());
  Lines lines = linesOf(out.str());
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "<Var id=\"p" + idOf(*m.top) + "WRITE\" name=\"WRITE\" />"),
            0);
  EXPECT_FALSE(writer.inUsedStateName("WRITE"));
}

// TOP holds an atomic cache C and, after it, a composition around cache B that declares
// READ shared. Built in the order TOP, C, SHARING, B.
struct LateSharing {
  LateSharing() : top(new TestJoin("TOP")) {
    c = new CacheSAN("C", 1, 0);
    sharing = new TestJoin("SHARING");
    b = new CacheSAN("B", 1, 0);
    sharing->addChild(b);
    b->READ->setShared(true);
    sharing->addShared(b->READ);
    reward.reset(new TestPVModel(top));
  }
  TestJoin* top;
  CacheSAN* c;
  TestJoin* sharing;
  CacheSAN* b;
  std::unique_ptr<TestPVModel> reward;
};

size_t linesNaming(const Lines& lines, const BaseActionClass& a) {
  std::string ref = "id=\"a" + action(a) + "\"";
  return std::count_if(lines.begin(), lines.end(), [&ref](const std::string& line) {
    return line.find(ref) != std::string::npos;
  });
}

TEST(XMLTraceComposed, ActionDeclaredBeforeItsStateWasSharedStaysAnOrdinaryAction) {
  LateSharing m;
  m.top->addChild(m.c);         // C is declared first, while READ is not yet shared
  m.top->addChild(m.sharing);
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(m.reward.get());
  Lines lines = linesOf(out.str());
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "<Action id=\"a" + action(m.c->T_READ) + "\" name=\"T_READ\" />"),
            1);
  EXPECT_EQ(linesNaming(lines, m.c->T_READ), 1u);   // and is no interaction
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "<Undiraction id=\"a" + action(m.b->T_READ) + "\" name=\"T_READ\">"),
            1);
}

TEST(XMLTraceComposed, SharedStateDeclaredOnlyAboveTheActionsModelIdGivesNoInteraction) {
  LateSharing m;
  m.top->addChild(m.sharing);   // READ is shared before C is declared
  m.top->addChild(m.c);
  m.c->READ->setShared(true);
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(m.reward.get());
  // C's id is below SHARING's and B's, so no declaration of READ is visible from C.
  EXPECT_EQ(writer.getModelMap("READ", m.c->getId()), -1);
  EXPECT_EQ(linesNaming(linesOf(out.str()), m.c->T_READ), 0u);
}

TEST(XMLTraceComposed, InteractionTouchesEachProcessOnce) {
  LateSharing m;
  m.top->addChild(m.sharing);
  m.top->addChild(m.c);   // C's own READ is unshared but bears the shared name
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(m.reward.get());
  std::string pc = "p" + idOf(*m.c);
  // The only declaration of READ visible from C is C's own, so C is both the owner
  // found and the acting process, and is touched once.
  EXPECT_EQ(writer.getModelMap("READ", m.c->getId()), m.c->getId());
  Lines lines = linesOf(out.str());
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "<Touch>" + pc + "</Touch></Undiraction>"),
            1);
}

}  // namespace
