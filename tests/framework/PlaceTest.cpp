#include "framework/san/Place.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(PlaceMarking, NewPlaceHoldsItsInitialMarking) {
  Place p("P", 3);
  EXPECT_EQ(p.getMark(), 3);
  EXPECT_EQ(p.Mark(), 3);
  EXPECT_EQ(p.getState(), 3);
  EXPECT_EQ(p.StateSize(), 2);
  // The place's own value pointer and TheMark make two chain entries.
  EXPECT_EQ(p.getSharingCount(), 2);
}

TEST(PlaceMarking, InitialMarkingComputedByModelCodeMustFitAPlace) {
  EXPECT_EQ(Place::InitialMarking(0, "p"), 0);
  EXPECT_EQ(Place::InitialMarking(32767, "p"), 32767);
  EXPECT_EXIT(Place::InitialMarking(32768, "crews"), ::testing::ExitedWithCode(1),
              "ERROR: MARKING_OUT_OF_RANGE: place crews would start with 32768 tokens");
  EXPECT_EXIT(Place::InitialMarking(-1, "p"), ::testing::ExitedWithCode(1), "would start with -1 tokens");
  EXPECT_EXIT(Place::InitialMarking(2.5, "p"), ::testing::ExitedWithCode(1), "would start with 2.5 tokens");
}

TEST(PlaceMarking, MarkIsAWritableReferenceToTheValue) {
  Place p("P");
  p.Mark() += 4;  // from the initial 0
  EXPECT_EQ(p.getState(), 4);
  p.setMark(-2);
  EXPECT_EQ(p.Mark(), -2);
  p.setState(9);
  EXPECT_EQ(p.getMark(), 9);
}

TEST(PlacePrinting, PrintsNameEqualsValueAndALineEnd) {
  Place p("P", 3);
  std::ostringstream state;
  std::ostringstream value;
  p.printState(&state);
  p.printStateVal(&value);
  EXPECT_EQ(state.str(), "P = 3\n");
  EXPECT_EQ(value.str(), "3");
}

TEST(PlaceStateVector, SavesTheNativeBytesOfItsMarking) {
  Place p("P", 258);
  unsigned char buffer[3] = {0xAA, 0xAA, 0xAA};
  p.CurrentState(buffer + 1);
  // 258 = 0x0102: low byte 0x02, high byte 0x01.
  const unsigned short probe = 1;
  bool littleEndian = *reinterpret_cast<const unsigned char*>(&probe) == 1;
  EXPECT_EQ(buffer[1], littleEndian ? 0x02 : 0x01);
  EXPECT_EQ(buffer[2], littleEndian ? 0x01 : 0x02);
  EXPECT_EQ(buffer[0], 0xAA);
  Place q("Q", 0);
  q.SetState(buffer + 1);
  EXPECT_EQ(q.getMark(), 258);
}
