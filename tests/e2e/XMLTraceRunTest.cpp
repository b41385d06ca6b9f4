// The XML trace of the example model as the simulator writes it, in a fresh process: the
// reward model is model 1 with actions 0 and 1, so the cache is process p2 with T_READ a2
// and T_WRITE a3.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "ProcessRunner.h"

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A check of the document's structure: the declaration first, markup that closes, tags
// that nest and match, quoted attribute values, one root element and nothing but white
// space after it. Returns an empty text when the document passes, else the first fault.
std::string WellFormednessFault(const std::string& doc) {
  size_t at = 0;
  if (doc.compare(0, 5, "<?xml") != 0) return "no XML declaration first";
  std::vector<std::string> open;
  bool rootSeen = false;
  while (at < doc.size()) {
    size_t lt = doc.find('<', at);
    std::string text = doc.substr(at, lt == std::string::npos ? std::string::npos : lt - at);
    if (open.empty() && text.find_first_not_of(" \t\r\n") != std::string::npos)
      return "text outside the root: " + text;
    if (text.find('>') != std::string::npos) return "stray '>' in text: " + text;
    if (lt == std::string::npos) break;
    std::string close;
    if (doc.compare(lt, 4, "<!--") == 0) close = "-->";
    else if (doc.compare(lt, 2, "<?") == 0) close = "?>";
    else close = ">";
    size_t gt = doc.find(close, lt);
    if (gt == std::string::npos) return "markup not closed at " + std::to_string(lt);
    std::string tag = doc.substr(lt + 1, gt - lt - 1);
    at = gt + close.size();
    if (close != ">" || tag.compare(0, 8, "!DOCTYPE") == 0) {
      if (tag[0] == '!' && tag[1] != '-' && rootSeen) return "DOCTYPE inside the document";
      continue;
    }
    if (tag.empty()) return "empty tag";
    if (tag[0] == '/') {
      std::string name = tag.substr(1);
      if (open.empty() || open.back() != name) return "closing </" + name + "> does not match";
      open.pop_back();
      continue;
    }
    bool empty = tag.back() == '/';
    if (empty) tag.pop_back();
    std::istringstream words(tag);
    std::string name;
    words >> name;
    // Every attribute is name="value".
    std::string rest = tag.substr(name.size());
    size_t pos = 0;
    while ((pos = rest.find_first_not_of(" ", pos)) != std::string::npos) {
      size_t eq = rest.find('=', pos);
      if (eq == std::string::npos || rest[eq + 1] != '"') return "attribute not quoted in <" + tag;
      size_t end = rest.find('"', eq + 2);
      if (end == std::string::npos) return "attribute value not closed in <" + tag;
      pos = end + 1;
    }
    if (open.empty() && rootSeen) return "second root element <" + name + ">";
    rootSeen = true;
    if (!empty) open.push_back(name);
  }
  if (!open.empty()) return "element <" + open.back() + "> not closed";
  return rootSeen ? "" : "no root element";
}

// From the cache model's definition: places READ 0, WRITE 1, L2_CONTENT 0; only T_WRITE
// is enabled and, being instantaneous, fires at time 0, leaving WRITE 0, L2_CONTENT 1.
const Lines kFirstBatchDocument{
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>",
    "<!DOCTYPE Trace",
    "  SYSTEM \"tavrin_trace.dtd\">",
    "<Trace model=\"Example_Tavrin\" generator=\"manually_generated\" >",
    "<Comment> Purpose of this trace: demonstration </Comment>",
    "<!-- TESTING declaration of processes -->",
    "<!-- Trace file of model Example_Tavrin -->",
    "<Process id=\"p2\" name=\"L2_CACHE2\" >",
    "<Action id=\"a2\" name=\"T_READ\" />",
    "<Action id=\"a3\" name=\"T_WRITE\" />",
    "<Var id=\"p2READ\" name=\"READ\" />",
    "<Var id=\"p2WRITE\" name=\"WRITE\" />",
    "<Var id=\"p2L2_CONTENT\" name=\"L2_CONTENT\" />",
    "</Process>",
    "<Interactions>",
    "</Interactions>",
    "<!-- process sequence -->",
    "<Sequence type=\"StateActionType\">",
    "<S>",
    "<V id=\"p2READ\" val=\"0\" />",
    "<V id=\"p2WRITE\" val=\"1\" />",
    "<V id=\"p2L2_CONTENT\" val=\"0\" />",
    "</S>",
    "<A id=\"a3\" t=\"0\">",
    "  <V id=\"p2WRITE\"  val=\"0\" />",
    "  <V id=\"p2L2_CONTENT\"  val=\"1\" />",
    "</A>",
    "</Sequence>",
    "</Trace>"};

std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace

TEST(XMLTraceChecker, RejectsBrokenDocuments) {
  EXPECT_EQ(WellFormednessFault(Joined(kFirstBatchDocument)), "");
  EXPECT_NE(WellFormednessFault("<?xml ?>\n<a><b></a></b>\n"), "");
  EXPECT_NE(WellFormednessFault("<?xml ?>\n<a>\n"), "");
  EXPECT_NE(WellFormednessFault("<?xml ?>\n<a></a>\n<a></a>\n"), "");
  EXPECT_NE(WellFormednessFault("<?xml ?>\n<a x=1></a>\n"), "");
  EXPECT_NE(WellFormednessFault("<?xml ?>\n<a></a>\ntrailing\n"), "");
  EXPECT_NE(WellFormednessFault("<a></a>\n"), "");
}

// Three batches: the document holds the first one only and ends with its closing lines.
TEST(XMLTraceRun, FirstBatchOfTheExampleIsTheWholeWellFormedDocument) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim", {"-f", "tr", "-x", "-N", "3"}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string doc = ReadFile(dir + "/tr.xml");
  EXPECT_EQ(LinesOf(doc), kFirstBatchDocument);
  EXPECT_EQ(doc.substr(doc.size() - 9), "</Trace>\n");
  EXPECT_EQ(WellFormednessFault(doc), "");
}

// A run that ends inside its first batch: the end of the run closes the document.
TEST(XMLTraceRun, RunEndingInsideTheFirstBatchStillClosesTheDocument) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("l2_cache_sim", {"-f", "tr", "-x", "-N", "1"}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string doc = ReadFile(dir + "/tr.xml");
  EXPECT_EQ(WellFormednessFault(doc), "") << doc;
  Lines lines = LinesOf(doc);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.back(), "</Trace>");
}

// Both writers on the standard output: each trace call writes the plain text first (it
// was registered first), then the XML, so the two traces interleave call by call.
TEST(XMLTraceRun, BothTracesOnTheStandardOutputInterleaveInCallOrder) {
  ProcessResult r = RunProgram("l2_cache_sim", {"-m", "-x", "-N", "2"}, MakeTempDir());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Lines out = LinesOf(r.out);
  auto find = [&out](const std::string& line, size_t from) {
    for (size_t i = from; i < out.size(); i++)
      if (out[i] == line) return i;
    return out.size();
  };
  // The header call: the plain banner, then the XML head up to the sequence.
  size_t banner = find("\t\tTRACE", 0);
  ASSERT_LT(banner, out.size()) << r.out;
  ASSERT_LT(banner + 2 + 18, out.size());
  EXPECT_EQ(out[banner + 1], std::string(38, '*'));
  EXPECT_EQ(Lines(out.begin() + banner + 2, out.begin() + banner + 2 + 18),
            Lines(kFirstBatchDocument.begin(), kFirstBatchDocument.begin() + 18));
  // The first batch, line by line from its batch mark to the end of the document.
  size_t batch = find("##### NEW BATCH #####", banner);
  ASSERT_LT(batch + 24, out.size()) << r.out;
  Lines firstBatch{"##### NEW BATCH #####",
                   "Initial Model State:",
                   "  Model: (2)L2_CACHE",
                   "    READ = 0",
                   "    WRITE = 1",
                   "    L2_CONTENT = 0"};
  firstBatch.insert(firstBatch.end(), kFirstBatchDocument.begin() + 18,
                    kFirstBatchDocument.begin() + 23);   // <S> ... </S>
  firstBatch.push_back("#### Firing: 0  Action: (2)L2_CACHE->T_WRITE");
  firstBatch.push_back("#### After: (2)T_WRITE->T_WRITE");
  firstBatch.insert(firstBatch.end(), kFirstBatchDocument.begin() + 23,
                    kFirstBatchDocument.begin() + 27);   // <A> ... </A>
  firstBatch.push_back("##### NEW BATCH #####");
  firstBatch.push_back("</Sequence>");
  firstBatch.push_back("</Trace>");
  EXPECT_EQ(Lines(out.begin() + batch, out.begin() + batch + firstBatch.size()), firstBatch);
  // The second batch is in the plain-text trace only.
  size_t second = batch + firstBatch.size();
  EXPECT_LT(find("#### Firing: 0  Action: (2)L2_CACHE->T_WRITE", second), out.size());
  for (size_t i = second; i < out.size(); i++) EXPECT_NE(out[i][0], '<') << out[i];
}

// The tandem is a join (model 2, after the reward model) of three stations (3 to 5) whose
// places are all shared: each buffer is declared once, by the join, each station's Serve is
// an interaction of the join and its station, and every change a firing writes is the
// join's.
TEST(XMLTraceRun, ComposedTandemDeclaresEachBufferOnceAndIsWellFormed) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram(
      "tandem_sim", {"-t", "0", "-N", "2", "-f", "tr", "-x", "-O", "d:batchLength:5:d:transient:0"},
      dir);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string doc = ReadFile(dir + "/tr.xml");
  EXPECT_EQ(WellFormednessFault(doc), "");
  Lines lines = LinesOf(doc);
  for (const char* buffer : {"buffer1", "buffer2", "buffer3"}) {
    std::string declaration =
        std::string("<Var id=\"p2Tandem.") + buffer + "\" name=\"Tandem." + buffer + "\" />";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), declaration), 1) << buffer;
  }
  int interactions = 0;
  int changes = 0;
  for (size_t i = 0; i < lines.size(); i++) {
    if (lines[i].compare(0, 13, "<Undiraction ") == 0) {
      interactions++;
      ASSERT_LT(i + 1, lines.size());
      std::string station = "p" + std::to_string(2 + interactions);
      EXPECT_EQ(lines[i + 1], "<Touch>p2</Touch><Touch>" + station + "</Touch></Undiraction>");
    }
    if (lines[i].compare(0, 9, "  <V id=\"") == 0) {
      changes++;
      EXPECT_EQ(lines[i].compare(0, 17, "  <V id=\"p2Tandem"), 0) << lines[i];
    }
  }
  EXPECT_EQ(interactions, 3);
  EXPECT_GT(changes, 0);
  // Every place of a station is shared, so no station declares one.
  for (const std::string& line : lines)
    EXPECT_FALSE(line.compare(0, 5, "<Var ") == 0 && line.find(".Station[") != std::string::npos)
        << line;
}

// A composed model generated from a model file (models/cells.toml): a join System (p2) of a
// replicated Cells (p3, three copies of Cell, p4 to p6, sharing common) and a Pool (p7),
// whose shared variable store joins the pool's stock and the copies' common. Each shared
// variable is declared once, by the composed model that declares it; no atomic model
// declares a shared place; every action that changes store is an interaction of System and
// its own process; store starts with the pool's marking (listed first) and each firing's
// change of it is written under System.
TEST(XMLTraceRun, GeneratedComposedModelDeclaresSharedVariablesOnceWithTheirInteractions) {
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("cells_sim", {"-t", "1", "-N", "2", "-f", "tr", "-x"}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string doc = ReadFile(dir + "/tr.xml");
  EXPECT_EQ(WellFormednessFault(doc), "") << doc;
  Lines lines = LinesOf(doc);
  auto count = [&lines](const std::string& line) { return std::count(lines.begin(), lines.end(), line); };
  EXPECT_EQ(count("<Process id=\"p2\" name=\"System\" >"), 1);
  EXPECT_EQ(count("<Var id=\"p2System.store\" name=\"System.store\" />"), 1);
  EXPECT_EQ(count("<Process id=\"p3\" name=\"Cells\" >"), 1);
  // The copies' common is the store's value: declared once, as the store.
  EXPECT_EQ(count("<Var id=\"p3System.Cells.common\" name=\"System.Cells.common\" />"), 0);
  for (int copy = 0; copy < 3; copy++) {
    std::string id = std::to_string(4 + copy);
    std::string own = "System.Cells.Cell[" + std::to_string(copy) + "].own";
    EXPECT_EQ(count("<Process id=\"p" + id + "\" name=\"Cell" + id + "\" >"), 1);
    EXPECT_EQ(count("<Var id=\"p" + id + own + "\" name=\"" + own + "\" />"), 1) << own;
  }
  EXPECT_EQ(count("<Var id=\"p7System.Pool.spare\" name=\"System.Pool.spare\" />"), 1);
  int interactions = 0;
  for (size_t i = 0; i < lines.size(); i++) {
    const std::string& line = lines[i];
    EXPECT_EQ(line.find(".common\" name=\"System.Cells.Cell"), std::string::npos) << line;
    EXPECT_EQ(line.find("<Var id=\"p7System.Pool.stock"), std::string::npos) << line;
    EXPECT_NE(line.compare(0, 8, "<Action "), 0) << "every action changes store: " << line;
    if (line.compare(0, 13, "<Undiraction ") == 0) {
      ASSERT_LT(i + 1, lines.size());
      std::string own = "p" + std::to_string(4 + interactions);
      std::string name = interactions < 3 ? "Move" : "Drain";
      EXPECT_NE(line.find("name=\"" + name + "\""), std::string::npos) << line;
      EXPECT_EQ(lines[i + 1], "<Touch>p2</Touch><Touch>" + own + "</Touch></Undiraction>");
      interactions++;
    }
    if (line.compare(0, 9, "  <V id=\"") == 0 && line.find("store") != std::string::npos) {
      EXPECT_EQ(line.compare(0, 23, "  <V id=\"p2System.store"), 0) << line;
    }
  }
  EXPECT_EQ(interactions, 4);
  EXPECT_EQ(count("<V id=\"p2System.store\" val=\"2\" />"), 1);
}
