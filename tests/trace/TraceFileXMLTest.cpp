#include "trace/TraceFileXML.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "Reward/L2_REWARD/L2_REWARDPVModel.h"
#include "../framework/ComposedTestModels.h"
#include "TraceTestModels.h"

namespace {

Lines joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The document up to the process declarations.
const Lines DocumentHead{"<?xml version=\"1.0\" encoding=\"utf-8\" ?>", "<!DOCTYPE Trace",
                         "  SYSTEM \"tavrin_trace.dtd\">",
                         "<Trace model=\"Example_Tavrin\" generator=\"manually_generated\" >",
                         "<Comment> Purpose of this trace: demonstration </Comment>",
                         "<!-- TESTING declaration of processes -->",
                         "<!-- Trace file of model Example_Tavrin -->"};
const Lines SequenceOpening{"<!-- process sequence -->", "<Sequence type=\"StateActionType\">"};
const Lines DocumentEnd{"</Sequence>", "</Trace>"};

// The example cache model traced through its reward model, as the simulator traces it.
struct ExampleRun {
  ExampleRun() : model(static_cast<L2_CACHESAN*>(reward.TheModel)), writer(&out) {}
  void fireWrite(double time) {
    writer.printPreFireAction(&model->T_WRITE);
    writer.printFireAction(&model->T_WRITE, time);
    writer.printPostFireAction(&model->T_WRITE, reward.FireAction(&model->T_WRITE, time));
    writer.printState(static_cast<PVModel*>(&reward));   // level 3: not in this trace
  }
  Lines head() const {
    std::string p = "p" + idOf(*model);
    return joined({DocumentHead,
                   {"<Process id=\"" + p + "\" name=\"L2_CACHE" + idOf(*model) + "\" >",
                    "<Action id=\"a" + idOf(model->T_READ) + "\" name=\"T_READ\" />",
                    "<Action id=\"a" + idOf(model->T_WRITE) + "\" name=\"T_WRITE\" />",
                    "<Var id=\"" + p + "READ\" name=\"READ\" />",
                    "<Var id=\"" + p + "WRITE\" name=\"WRITE\" />",
                    "<Var id=\"" + p + "L2_CONTENT\" name=\"L2_CONTENT\" />", "</Process>",
                    "<Interactions>", "</Interactions>"},
                   SequenceOpening});
  }
  Lines lines() const { return linesOf(out.str()); }

  L2_REWARDPVModel reward{false};
  L2_CACHESAN* model;
  std::ostringstream out;
  TraceFileXML writer;
};

TEST(XMLTraceDocument, FirstBatchOfTheCacheModelIsOneCompleteDocument) {
  ExampleRun run;
  // In a simulator the reward model takes id 1 and builds the cache model: process p2.
  ASSERT_EQ(run.model->getId(), run.reward.getId() + 1);
  run.writer.setTraceLevel(0);   // not consulted
  run.writer.printHeader(&run.reward);
  run.writer.newBatch();
  run.writer.printInitialState(run.model);
  run.fireWrite(0.25);
  run.writer.newBatch();   // the end of the first batch closes the document
  run.model->WRITE->setMark(1);
  run.writer.printInitialState(run.model);
  run.fireWrite(0.75);
  run.writer.newBatch();
  run.writer.printFooter();

  std::string p = "p" + idOf(*run.model);
  // The cache starts with READ 0, WRITE 1, L2_CONTENT 0; T_WRITE moves the write token.
  EXPECT_EQ(run.lines(),
            joined({run.head(),
                    {"<S>", "<V id=\"" + p + "READ\" val=\"0\" />", "<V id=\"" + p + "WRITE\" val=\"1\" />",
                     "<V id=\"" + p + "L2_CONTENT\" val=\"0\" />", "</S>",
                     "<A id=\"a" + idOf(run.model->T_WRITE) + "\" t=\"0.25\">",
                     "  <V id=\"" + p + "WRITE\"  val=\"0\" />", "  <V id=\"" + p + "L2_CONTENT\"  val=\"1\" />",
                     "</A>"},
                    DocumentEnd}));
}

TEST(XMLTraceDocument, FooterClosesAnOpenDocumentOnceAndTheHeadIsWrittenOnce) {
  ExampleRun headOnly;
  headOnly.writer.printHeader(&headOnly.reward);
  headOnly.writer.printHeader(&headOnly.reward);
  headOnly.writer.printInitialState(headOnly.model);   // before the first batch: not written
  headOnly.fireWrite(1);
  headOnly.writer.printFooter();
  headOnly.writer.printFooter();
  headOnly.writer.newBatch();   // too late: nothing follows the closing lines
  headOnly.writer.printInitialState(headOnly.model);
  EXPECT_EQ(headOnly.lines(), joined({headOnly.head(), DocumentEnd}));

  ExampleRun cutShort;   // the run ends inside its first batch
  cutShort.writer.printHeader(&cutShort.reward);
  cutShort.writer.newBatch();
  cutShort.fireWrite(1);
  cutShort.writer.printFooter();
  Lines lines = cutShort.lines();
  EXPECT_EQ(Lines(lines.end() - 3, lines.end()), (Lines{"</A>", "</Sequence>", "</Trace>"}));
}

TEST(XMLTraceDocument, SharedPlaceDeclaredByNoModelIsReferencedAsProcessMinusOne) {
  ExampleRun run;
  run.model->WRITE->setShared(true);
  run.writer.printHeader(&run.reward);
  run.writer.newBatch();
  run.writer.printInitialState(run.model);
  run.fireWrite(1);
  Lines lines = run.lines();
  std::string p = "p" + idOf(*run.model);
  EXPECT_EQ(countOf(lines, "<Var id=\"" + p + "WRITE\" name=\"WRITE\" />"), 0);
  EXPECT_EQ(countOf(lines, "<V id=\"" + p + "WRITE\" val=\"1\" />"), 0);
  EXPECT_EQ(countOf(lines, "<Action id=\"a" + idOf(run.model->T_WRITE) + "\" name=\"T_WRITE\" />"), 1);
  EXPECT_EQ(countOf(lines, "  <V id=\"p-1WRITE\"  val=\"0\" />"), 1);
}

TEST(XMLTraceNames, UsedStateNameIsRecordedUnlessAModelAtOrAboveDeclaredIt) {
  TraceFileXML writer;
  EXPECT_FALSE(writer.inUsedStateName("x"));
  EXPECT_TRUE(writer.addUsedStateName("x", 5, 5));
  EXPECT_TRUE(writer.inUsedStateName("x"));
  EXPECT_FALSE(writer.addUsedStateName("x", 5, 7));   // 5 >= 5: declared at or above
  EXPECT_TRUE(writer.addUsedStateName("x", 3, 3));    // 3 < 5: another branch
  EXPECT_FALSE(writer.addUsedStateName("x", 4, 9));   // 4 < 5, but 4 >= 3
  EXPECT_TRUE(writer.addUsedStateName("y", 9, 9));
  std::string copy = "READ";
  EXPECT_TRUE(writer.addState("READ"));
  EXPECT_FALSE(writer.addState(copy.c_str()));   // names are compared as text
}

TEST(XMLTraceComposed, SharedPlaceIsDeclaredByTheComposedModelAndTouchedByBothChildren) {
  auto* join = new TestJoin("CACHES");
  auto* left = new L2_CACHESAN();
  auto* right = new L2_CACHESAN();
  join->addChild(left);
  join->addChild(right);
  left->READ->setMark(1);
  right->READ->setMark(1);
  left->READ->share(right->READ);
  join->addShared(left->READ);
  TestPVModel reward(join);
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(&reward);
  writer.newBatch();
  writer.printInitialState(join);
  writer.printFireAction(&right->T_READ, 2);
  writer.printPostFireAction(&right->T_READ, right->T_READ.Fire());
  writer.newBatch();

  std::string pj = "p" + idOf(*join), pl = "p" + idOf(*left), pr = "p" + idOf(*right);
  auto child = [](const L2_CACHESAN& c, const std::string& p) {
    return Lines{"<Process id=\"" + p + "\" name=\"L2_CACHE" + idOf(c) + "\" >",
                 "<Action id=\"a" + idOf(c.T_WRITE) + "\" name=\"T_WRITE\" />",
                 "<Var id=\"" + p + "WRITE\" name=\"WRITE\" />",
                 "<Var id=\"" + p + "L2_CONTENT\" name=\"L2_CONTENT\" />", "</Process>"};
  };
  // The shared READ holds 1; RIGHT's T_READ at time 2 takes it to 0.
  EXPECT_EQ(linesOf(out.str()),
            joined({DocumentHead,
                    {"<Process id=\"" + pj + "\" name=\"CACHES\" >",
                     "<Var id=\"" + pj + "READ\" name=\"READ\" />", "</Process>"},
                    child(*left, pl), child(*right, pr),
                    {"<Interactions>", "<Undiraction id=\"a" + idOf(left->T_READ) + "\" name=\"T_READ\">",
                     "<Touch>" + pj + "</Touch><Touch>" + pl + "</Touch></Undiraction>",
                     "<Undiraction id=\"a" + idOf(right->T_READ) + "\" name=\"T_READ\">",
                     "<Touch>" + pj + "</Touch><Touch>" + pr + "</Touch></Undiraction>",
                     "</Interactions>"},
                    SequenceOpening,
                    {"<S>", "<V id=\"" + pj + "READ\" val=\"1\" />", "<V id=\"" + pl + "WRITE\" val=\"1\" />",
                     "<V id=\"" + pl + "L2_CONTENT\" val=\"0\" />", "<V id=\"" + pr + "WRITE\" val=\"1\" />",
                     "<V id=\"" + pr + "L2_CONTENT\" val=\"0\" />", "</S>",
                     "<A id=\"a" + idOf(right->T_READ) + "\" t=\"2\">",
                     "  <V id=\"" + pj + "READ\"  val=\"0\" />",
                     "  <V id=\"" + pr + "L2_CONTENT\"  val=\"1\" />", "</A>"},
                    DocumentEnd}));
  EXPECT_EQ(left->getParentId(), join->getId());
}

// TOP holds two compositions, each around one cache whose READ it declares shared. Made
// in the order TOP, LEFTJ, A, RIGHTJ, B, so the ids grow in that order.
struct TwoBranches {
  TwoBranches() {
    leftJoin->addChild(a);
    top->addChild(leftJoin);
    top->addChild(rightJoin);
    rightJoin->addChild(b);
    a->READ->setShared(true);
    b->READ->setShared(true);
    leftJoin->addShared(a->READ);
    rightJoin->addShared(b->READ);
  }
  Lines header() {
    writer.printHeader(&reward);
    return linesOf(out.str());
  }
  int map(const char* name, BaseModelClass* m) { return writer.getModelMap(name, m->getId()); }

  TestJoin* top = new TestJoin("TOP");
  TestJoin* leftJoin = new TestJoin("LEFTJ");
  L2_CACHESAN* a = new L2_CACHESAN();
  TestJoin* rightJoin = new TestJoin("RIGHTJ");
  L2_CACHESAN* b = new L2_CACHESAN();
  TestPVModel reward{top};
  std::ostringstream out;
  TraceFileXML writer{&out};
};

TEST(XMLTraceComposed, NewestDeclarationWithinTheModelIdDecides) {
  TwoBranches m;
  Lines lines = m.header();
  // Newest first: TOP, RIGHTJ, B, LEFTJ, A. Both compositions declared READ, since
  // their parent's id is below the first declarer's.
  EXPECT_EQ(m.map("READ", m.b), m.rightJoin->getId());
  EXPECT_EQ(m.map("READ", m.a), m.leftJoin->getId());   // RIGHTJ's and B's ids are above A's
  EXPECT_EQ(m.map("READ", m.top), -1);
  EXPECT_EQ(m.map("WRITE", m.b), m.b->getId());   // B's entry is newer than A's
  std::string pl = "p" + idOf(*m.leftJoin), pr = "p" + idOf(*m.rightJoin);
  EXPECT_EQ(countOf(lines, "<Var id=\"" + pl + "READ\" name=\"READ\" />"), 1);
  EXPECT_EQ(countOf(lines, "<Var id=\"" + pr + "READ\" name=\"READ\" />"), 1);
  EXPECT_EQ(countOf(lines, "<Touch>" + pl + "</Touch><Touch>p" + idOf(*m.a) + "</Touch></Undiraction>"), 1);
  EXPECT_EQ(countOf(lines, "<Touch>" + pr + "</Touch><Touch>p" + idOf(*m.b) + "</Touch></Undiraction>"), 1);
}

TEST(XMLTraceComposed, NameDeclaredAboveIsNotDeclaredBelowAndUnsharedOnesNotAtAll) {
  TwoBranches m;
  m.top->addShared(m.a->READ);    // TOP declares READ first, for the whole tree
  m.top->addShared(m.b->WRITE);   // listed, but not shared
  Lines lines = m.header();
  EXPECT_EQ(m.map("READ", m.b), m.top->getId());
  std::string pt = "p" + idOf(*m.top);
  EXPECT_EQ(countOf(lines, "<Var id=\"" + pt + "READ\" name=\"READ\" />"), 1);
  EXPECT_EQ(countOf(lines, "<Var id=\"p" + idOf(*m.leftJoin) + "READ\" name=\"READ\" />"), 0);
  EXPECT_EQ(countOf(lines, "<Var id=\"" + pt + "WRITE\" name=\"WRITE\" />"), 0);
}

// TOP holds a cache C and a composition SHARING around cache B that declares B's READ
// shared; made in the order TOP, C, SHARING, B.
struct LateSharing {
  explicit LateSharing(bool cacheFirst) {
    sharing->addChild(b);
    b->READ->setShared(true);
    sharing->addShared(b->READ);
    top->addChild(cacheFirst ? static_cast<BaseModelClass*>(c) : sharing);
    top->addChild(cacheFirst ? static_cast<BaseModelClass*>(sharing) : c);
  }
  long linesNaming(const BaseActionClass& action) {
    std::string ref = "id=\"a" + idOf(action) + "\"";
    Lines lines = linesOf(out.str());
    return std::count_if(lines.begin(), lines.end(),
                         [&ref](const std::string& l) { return l.find(ref) != std::string::npos; });
  }
  TestJoin* top = new TestJoin("TOP");
  L2_CACHESAN* c = new L2_CACHESAN();
  TestJoin* sharing = new TestJoin("SHARING");
  L2_CACHESAN* b = new L2_CACHESAN();
  TestPVModel reward{top};
  std::ostringstream out;
  TraceFileXML writer{&out};
};

TEST(XMLTraceComposed, ActionDeclaredBeforeItsStateWasSharedStaysAnOrdinaryAction) {
  LateSharing m(true);
  m.writer.printHeader(&m.reward);
  EXPECT_EQ(countOf(linesOf(m.out.str()),
                    "<Action id=\"a" + idOf(m.c->T_READ) + "\" name=\"T_READ\" />"), 1);
  EXPECT_EQ(m.linesNaming(m.c->T_READ), 1);   // and no interaction
  EXPECT_EQ(m.linesNaming(m.b->T_READ), 1);   // B's is one
}

TEST(XMLTraceComposed, InteractionNeedsADeclarationAtOrBelowTheModelsId) {
  LateSharing m(false);
  m.c->READ->setShared(true);
  m.writer.printHeader(&m.reward);
  // C's id is below SHARING's and B's: no declaration of READ is visible from C.
  EXPECT_EQ(m.writer.getModelMap("READ", m.c->getId()), -1);
  EXPECT_EQ(m.linesNaming(m.c->T_READ), 0);
}

TEST(XMLTraceComposed, InteractionTouchesEachProcessOnce) {
  LateSharing m(false);   // C's own READ is unshared but bears the shared name
  m.writer.printHeader(&m.reward);
  std::string pc = "p" + idOf(*m.c);
  EXPECT_EQ(m.writer.getModelMap("READ", m.c->getId()), m.c->getId());
  EXPECT_EQ(countOf(linesOf(m.out.str()), "<Touch>" + pc + "</Touch></Undiraction>"), 1);
}

}  // namespace

namespace {

// Two cells sharing common, joined with a pool on store = {Pool.stock, Cells.common}. Built
// in the order System, Cells, Cell[0], Cell[1], Pool, so the ids grow in that order.
class CellsAndPool : public JoinModel {
 public:
  CellsAndPool() {
    BaseModelClass* children[] = {MakeCells(2), new PoolSAN()};
    const JoinPlace store[] = {{1, "stock"}, {0, "common"}};
    const JoinSharedVariable shared[] = {{"store", 2, store}};
    initializeJoinModelNow("System", 2, children, 1, shared);
  }
};

}  // namespace

// The join declares its store once; the replicated model's common, which the store
// absorbed, is the store's value and is not declared again (it would never be written);
// the cells declare only their own places, and every action that writes the store is an
// interaction touching the join and its own model.
TEST(XMLTraceComposed, RealComposedModelDeclaresSharedVariablesOnceAndItsInteractions) {
  auto* system = new CellsAndPool();
  TestPVModel reward(system);
  auto* cells = static_cast<BaseModelClass*>(system->GetChild(0));
  auto* cell0 = static_cast<CellSAN*>(cells->GetChild(0));
  auto* cell1 = static_cast<CellSAN*>(cells->GetChild(1));
  auto* pool = static_cast<PoolSAN*>(system->GetChild(1));
  std::ostringstream out;
  TraceFileXML writer(&out);
  writer.printHeader(&reward);
  writer.newBatch();
  writer.printInitialState(system);
  writer.printFireAction(&cell1->Take, 1);
  writer.printPostFireAction(&cell1->Take, cell1->Take.Fire());
  writer.newBatch();

  std::string ps = "p" + idOf(*system), pc = "p" + idOf(*cells), p0 = "p" + idOf(*cell0),
              p1 = "p" + idOf(*cell1), pp = "p" + idOf(*pool);
  auto cell = [](const CellSAN& c, const std::string& p, const std::string& own) {
    return Lines{"<Process id=\"" + p + "\" name=\"Cell" + idOf(c) + "\" >",
                 "<Var id=\"" + p + own + "\" name=\"" + own + "\" />", "</Process>"};
  };
  auto touch = [&](const BaseActionClass& a, const std::string& p) {
    return Lines{"<Undiraction id=\"a" + idOf(a) + "\" name=\"" + a.ActionName + "\">",
                 "<Touch>" + ps + "</Touch><Touch>" + p + "</Touch></Undiraction>"};
  };
  std::string own0 = "System.Cells.Cell[0].own", own1 = "System.Cells.Cell[1].own";
  // The store holds the pool's 5; Cell[1]'s Take at time 1 moves its token into it.
  EXPECT_EQ(linesOf(out.str()),
            joined({DocumentHead,
                    {"<Process id=\"" + ps + "\" name=\"System\" >",
                     "<Var id=\"" + ps + "System.store\" name=\"System.store\" />", "</Process>",
                     "<Process id=\"" + pc + "\" name=\"Cells\" >", "</Process>"},
                    cell(*cell0, p0, own0), cell(*cell1, p1, own1),
                    {"<Process id=\"" + pp + "\" name=\"Pool" + idOf(*pool) + "\" >", "</Process>",
                     "<Interactions>"},
                    touch(cell0->Take, p0), touch(cell0->Give, p0), touch(cell1->Take, p1),
                    touch(cell1->Give, p1), touch(pool->Drain, pp),
                    {"</Interactions>"}, SequenceOpening,
                    {"<S>", "<V id=\"" + ps + "System.store\" val=\"5\" />",
                     "<V id=\"" + p0 + own0 + "\" val=\"1\" />",
                     "<V id=\"" + p1 + own1 + "\" val=\"1\" />", "</S>",
                     "<A id=\"a" + idOf(cell1->Take) + "\" t=\"1\">",
                     "  <V id=\"" + p1 + own1 + "\"  val=\"0\" />",
                     "  <V id=\"" + ps + "System.store\"  val=\"6\" />", "</A>"},
                    DocumentEnd}));
}
