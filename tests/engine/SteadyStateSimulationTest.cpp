#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "RunModels.h"
#include "engine/Heap.h"
#include "output/DataPacket.h"
#include "output/WireCodec.h"
#include "platform/CPUTime.h"

using namespace runtest;

namespace {

VariableRecipe Window(const std::string& name, double start, double stop) {
  return {name, STEADY_STATE, steady_state, start, stop};
}

using Report = std::vector<std::vector<double>>;   // per variable, its observations

// The reports of a binary result file, each as the observations per variable.
std::vector<Report> BinaryReports(const std::string& path, int numPVs) {
  std::string bytes;
  {
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  std::vector<Report> reports;
  size_t at = WireCodec::BinFileHeaderSize;
  while (at < bytes.size()) {
    DataRecord record;
    std::string error;
    if (!WireCodec::DecodeDataRecord(bytes.data() + at, bytes.size() - at, record, error)) {
      ADD_FAILURE() << error;
      break;
    }
    Report report(static_cast<size_t>(numPVs));
    for (const DataSection& section : record.sections)
      report.at(static_cast<size_t>(section.variable)) = section.observations;
    reports.push_back(report);
    at += static_cast<size_t>(record.length);
  }
  return reports;
}

}  // namespace

// Count is held at 4 and the clock is at 2.5. A and B end their first batch at 2 and are
// both recorded; C (batch 1) ends two batches, at 1 and 2, earliest first; D ends at 3,
// later than now. Every recorded window averages 4.
TEST(CheckCompletedBatches, RecordsEveryBatchEndedByNowInOneCall) {
  RunSettings settings;
  auto sim = BuildRun(settings,
                      {Window("A", 0, 2), Window("B", 0, 2), Window("C", 0, 1), Window("D", 0, 3)},
                      {"-t", "0"});
  SimulatorClass& s = *sim;
  static_cast<RunSAN*>(s.TheModel->TheModel)->Count->setMark(4);
  s.StopTimes = new Heap<double>(4);
  s.CompletedBatches = new Heap<int>(4);
  for (int i = 0; i < 4; i++) {
    s.StopTimes->Insert(s.PVList[i]->Stop, i);
    s.CompletedBatches->Insert(0, i);
  }
  s.CurPacket = s.CreateDataPacket(4);
  s.CurSqrPacket = s.CreateDataPacket(4);
  BaseModelClass::LastActionTime = 0;
  s.CurrentTime = 2.5;
  int counters[4] = {0, 0, 0, 0}, squares[4] = {0, 0, 0, 0};

  s.CheckCompletedBatches(s.PVList, counters, squares);

  EXPECT_EQ(std::vector<int>(counters, counters + 4), (std::vector<int>{1, 1, 2, 0}));
  EXPECT_EQ(std::vector<int>(squares, squares + 4), (std::vector<int>{1, 1, 2, 0}));
  for (int i = 0; i < 4; i++)
    EXPECT_EQ(s.CompletedBatches->getElement(i), counters[i]) << "variable " << i;
  EXPECT_EQ(s.CurPacket->GetObsArray(0)[0], 4.0);
  EXPECT_EQ(s.CurPacket->GetObsArray(1)[0], 4.0);
  EXPECT_EQ(s.CurPacket->GetObsArray(2)[0], 4.0);
  EXPECT_EQ(s.CurPacket->GetObsArray(2)[1], 4.0);
  EXPECT_EQ(s.CurSqrPacket->GetObsArray(0)[0], 16.0);
  // The windows moved on: A and B to [2, 4), C to [2, 3), D untouched.
  EXPECT_EQ(s.PVList[0]->Stop, 4.0);
  EXPECT_EQ(s.PVList[1]->Stop, 4.0);
  EXPECT_EQ(s.PVList[2]->Start, 2.0);
  EXPECT_EQ(s.PVList[2]->Stop, 3.0);
  EXPECT_EQ(s.PVList[3]->Stop, 3.0);
  std::pair<double, int> next;
  s.StopTimes->Earliest(next);
  EXPECT_EQ(next.first, 3.0);
}

// Tick every 1 makes Count = k on [k, k+1). Fast (batch 1) averages 0, 1, 2, ...; Slow
// (batch 2) averages (0+1)/2, (2+3)/2, (4+5)/2. With -N 3 the run stops at time 6, when
// Slow ends its third batch (Fast has six by then), after one more firing: 6 firings.
TEST(SteadyStateSimulation, SlowestVariableDecidesTheBatchLimit) {
  RunSettings settings;
  std::string binary = ScratchFile("slowest.bin");
  auto sim = BuildRun(settings, {Window("Fast", 0, 1), Window("Slow", 0, 2)},
                      {"-t", "0", "-N", "3", "-b", binary});
  RunAndCapture(*sim);
  EXPECT_EQ(sim->_fireActionCount, 6);
  sim.reset();
  std::vector<Report> reports = BinaryReports(binary, 2);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0][0], (std::vector<double>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(reports[0][1], (std::vector<double>{0.5, 2.5, 4.5}));
}

// With report size 2 the third observation sends the first two; -N 5 gives 2, 2 and the
// final report with the fifth.
TEST(SteadyStateSimulation, FullReportIsSentBeforeTheNextObservation) {
  RunSettings settings;
  std::string binary = ScratchFile("reports.bin");
  auto sim = BuildRun(settings, {Window("Fast", 0, 1)}, {"-t", "0", "-N", "5", "-n", "2", "-b", binary});
  RunAndCapture(*sim);
  sim.reset();
  std::vector<Report> reports = BinaryReports(binary, 1);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0][0], (std::vector<double>{0, 1}));
  EXPECT_EQ(reports[1][0], (std::vector<double>{2, 3}));
  EXPECT_EQ(reports[2][0], (std::vector<double>{4}));
}

// A transient up to 2, then batches of 1: the window [2, 3) averages 2, [3, 4) 3; nothing
// is observed for the transient. -N 2 stops at time 4, after its firing.
TEST(SteadyStateSimulation, InitialTransientGivesNoObservation) {
  RunSettings settings;
  std::string binary = ScratchFile("transient.bin");
  auto sim = BuildRun(settings, {Window("Late", 2, 3)}, {"-t", "0", "-N", "2", "-b", binary});
  RunAndCapture(*sim);
  EXPECT_EQ(sim->_fireActionCount, 4);
  sim.reset();
  std::vector<Report> reports = BinaryReports(binary, 1);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0][0], (std::vector<double>{2, 3}));
}

// Tick stops once Count is 3: after its firing at 3 no event is left. The batches ended
// at 1, 2 and 3 (averages 0, 1, 2) are in the final report.
TEST(SteadyStateSimulation, AbsorbingStateEndsTheRunWithItsMessageAndTheFinalReport) {
  RunSettings settings;
  settings.limit = 3;
  std::string binary = ScratchFile("absorbing.bin");
  auto sim = BuildRun(settings, {Window("Fast", 0, 1)}, {"-t", "0", "-b", binary});
  std::string out = RunAndCapture(*sim);
  EXPECT_EQ(sim->_fireActionCount, 3);
  EXPECT_NE(out.find("Simulator encountered an absorbing state and is unable to proceed.  "
                     "Terminating run.\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Actions fired: 3\n"), std::string::npos) << out;
  sim.reset();
  std::vector<Report> reports = BinaryReports(binary, 1);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0][0], (std::vector<double>{0, 1, 2}));
}

// Once the run is told to stop (the manager's quit, or a failed send), a full report can
// no longer be handed over. Report size 1, one observation pending and five batch ends of
// 1 due by 5.5: none of them may be stored past the packet's single slot.
TEST(CheckCompletedBatches, AfterTheStopNoObservationGoesPastAFullReport) {
  RunSettings settings;
  auto sim = BuildRun(settings, {Window("Fast", 0, 1), Window("Other", 0, 100)},
                      {"-t", "0", "-n", "1"});
  SimulatorClass& s = *sim;
  s.StopTimes = new Heap<double>(2);
  s.CompletedBatches = new Heap<int>(2);
  for (int i = 0; i < 2; i++) {
    s.StopTimes->Insert(s.PVList[i]->Stop, i);
    s.CompletedBatches->Insert(0, i);
  }
  s.CurPacket = s.CreateDataPacket(2);
  s.CurSqrPacket = s.CreateDataPacket(2);
  s.CurPacket->SetObs(1, 0, 42.0);   // Other's row, right after Fast's single slot
  s.SimControl = 2;
  s.CurrentTime = 5.5;
  int counters[2] = {1, 0}, squares[2] = {1, 0};

  s.CheckCompletedBatches(s.PVList, counters, squares);

  EXPECT_LE(counters[0], 1);
  EXPECT_LE(squares[0], 1);
  EXPECT_EQ(s.CurPacket->GetObsArray(1)[0], 42.0);
}
