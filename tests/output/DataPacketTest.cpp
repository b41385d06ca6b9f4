#include "output/DataPacket.h"

#include <gtest/gtest.h>

TEST(DataPacketRows, NewPacketHoldsZerosAndItsNumbers) {
  DataPacket packet(3, 7, 2, 4);
  EXPECT_EQ(packet.GetClientId(), 3);
  EXPECT_EQ(packet.GetExperimentNum(), 7);
  EXPECT_EQ(packet.GetNumPV(), 2);
  EXPECT_EQ(packet.GetMaxNumReports(), 4);
  for (int pv = 0; pv < 2; pv++) {
    EXPECT_EQ(packet.GetNumObs(pv), 0);
    for (int r = 0; r < 4; r++) EXPECT_EQ(packet.GetObsArray(pv)[r], 0.0);
  }
}

TEST(DataPacketRows, RowsAreRowMajorWithTheReportCapacityAsStride) {
  // Observation 1 of variable 2 lives at 2 * 3 + 1 = 7, the second entry of row 2.
  DataPacket packet(0, 0, 3, 3);
  packet.SetObs(2, 1, 9.5);
  packet.SetObs(0, 2, -1.0);
  EXPECT_EQ(packet.GetObsArray(2)[1], 9.5);
  EXPECT_EQ(packet.GetObsArray(0) + 7, packet.GetObsArray(2) + 1);
  EXPECT_EQ(packet.GetObsArray(0)[2], -1.0);
  EXPECT_EQ(packet.GetObsArray(1)[0], 0.0);
  packet.SetNumObs(1, 3);
  EXPECT_EQ(packet.GetNumObs(1), 3);
  EXPECT_EQ(packet.GetNumObs(0), 0);
  packet.SetClientId(300);
  packet.SetExperimentNum(70000);
  EXPECT_EQ(packet.GetClientId(), 300);
  EXPECT_EQ(packet.GetExperimentNum(), 70000);
}
