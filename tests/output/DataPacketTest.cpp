#include "output/DataPacket.h"

#include <gtest/gtest.h>

TEST(DataPacketRows, RowsAreRowMajorWithTheReportCapacityAsStrideAndStartAtZero) {
  // Observation 1 of variable 2 lives at 2 * 3 + 1 = 7, the second entry of row 2.
  DataPacket packet(0, 0, 3, 3);
  packet.SetObs(2, 1, 9.5);
  packet.SetNumObs(1, 3);
  EXPECT_EQ(packet.GetObsArray(0) + 7, packet.GetObsArray(2) + 1);
  EXPECT_EQ(packet.GetObsArray(2)[1], 9.5);
  EXPECT_EQ(packet.GetObsArray(1)[2], 0.0);
  EXPECT_EQ(packet.GetNumObs(1), 3);
  EXPECT_EQ(packet.GetNumObs(0), 0);
}
