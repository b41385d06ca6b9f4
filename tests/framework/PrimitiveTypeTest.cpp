#include "framework/state/PrimitiveType.h"

#include <gtest/gtest.h>

#include "framework/state/Bool.h"
#include "framework/state/Char.h"
#include "framework/state/Double.h"
#include "framework/state/Float.h"
#include "framework/state/Int.h"
#include "framework/state/Long.h"
#include "framework/state/Short.h"

TEST(PrimitiveValues, WrapperIsUsedLikeItsValue) {
  Short s = static_cast<short>(3);
  Long l(1L << 40);
  Float f(0.5f);
  Char c('a');
  s = static_cast<short>(s + 4);
  EXPECT_EQ(s, 7);
  EXPECT_EQ(l / 2, 1L << 39);
  EXPECT_EQ(f * 2, 1.0f);
  EXPECT_EQ(c, 'a');
}

TEST(PrimitiveValues, SetStoresTheNewValue) {
  Int i(1);
  Double d(1.5);
  Bool b(false);
  i.Set(-9);
  d.Set(2.25);
  b.Set(true);
  EXPECT_EQ(i.mVar, -9);
  EXPECT_EQ(d.mVar, 2.25);
  EXPECT_TRUE(b.mVar);
}
