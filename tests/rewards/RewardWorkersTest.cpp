#include <gtest/gtest.h>

#include "rewards/IntervalOfTime.h"
#include "rewards/IntervalOfTimeImpulse.h"
#include "rewards/SteadyState.h"
#include "rewards/SteadyStateImpulse.h"
#include "rewards/TimeAveragedIntervalOfTime.h"
#include "rewards/TimeAveragedIntervalOfTimeImpulse.h"

// The reward workers on their own: a rate reward over a window [Start, Stop] and the
// impulses earned inside it. Each test worker's reward function returns a settable value
// and counts its calls, so a test can tell that a reward outside the window is not read.

namespace {

template <class Base>
class RateWorker : public Base {
 public:
  RateWorker(double start, double stop) {
    this->Start = start;
    this->Stop = stop;
  }
  double Reward_Function() override {
    calls++;
    return value;
  }
  double value = 2.0;
  int calls = 0;
};

template <class Base>
class ImpulseWorker : public Base {
 public:
  ImpulseWorker(double start, double stop) {
    this->Start = start;
    this->Stop = stop;
  }
  double Impulse_Function() override { return value; }
  ImpulseNodeClass** CreateImpulseWorkerList(int) override { return nullptr; }
  double value = 3.0;
};

}  // namespace

TEST(IntervalRateWorker, IntervalInsideTheWindowEarnsRateTimesLength) {
  RateWorker<IntervalOfTime> worker(10.0, 20.0);
  worker.Accumulate(14.5, 12.0);
  EXPECT_DOUBLE_EQ(worker.Reward, 5.0);
  EXPECT_DOUBLE_EQ(worker.RewardSqr, 25.0);
  EXPECT_EQ(worker.RewardFraction, 1.0);
}

TEST(IntervalRateWorker, IntervalsCrossingEitherEdgeAreClippedToTheWindow) {
  RateWorker<IntervalOfTime> worker(10.0, 20.0);
  worker.Accumulate(11.0, 7.0);    // only [10, 11) counts
  EXPECT_DOUBLE_EQ(worker.Reward, 2.0);
  worker.Accumulate(25.0, 19.5);   // only [19.5, 20) counts
  EXPECT_DOUBLE_EQ(worker.Reward, 1.0);
  worker.Accumulate(30.0, 5.0);    // the whole window
  EXPECT_DOUBLE_EQ(worker.Reward, 20.0);
}

TEST(IntervalRateWorker, IntervalOutsideTheWindowEarnsNothingAndReadsNoReward) {
  RateWorker<IntervalOfTime> worker(10.0, 20.0);
  worker.Reward = 7.0;   // left over from an earlier interval
  worker.Accumulate(10.0, 4.0);
  EXPECT_EQ(worker.Reward, 0.0);
  worker.Accumulate(26.0, 20.0);
  EXPECT_EQ(worker.Reward, 0.0);
  EXPECT_EQ(worker.RewardSqr, 0.0);
  EXPECT_EQ(worker.calls, 0);
}

TEST(TimeAveragedRateWorker, WeightIsOneOverTheWindowLength) {
  RateWorker<TimeAveragedIntervalOfTime> worker(0.0, 4.0);
  worker.Accumulate(5.0, 3.0);
  EXPECT_DOUBLE_EQ(worker.Reward, 2.0);
  EXPECT_DOUBLE_EQ(worker.RewardFraction, 0.25);
}

TEST(TimeAveragedRateWorker, EmptyWindowHasWeightZeroRatherThanInfinity) {
  RateWorker<TimeAveragedIntervalOfTime> worker(3.0, 3.0);
  worker.Accumulate(5.0, 1.0);
  EXPECT_EQ(worker.RewardFraction, 0.0);
  EXPECT_EQ(worker.Reward, 0.0);
}

// A steady-state window is a batch of the long run: each reset moves it on by its own
// length, and the next interval is clipped to the new window.
TEST(SteadyStateRateWorker, ResetSlidesTheWindowByItsLength) {
  RateWorker<SteadyState> worker(100.0, 150.0);
  worker.Accumulate(160.0, 140.0);
  EXPECT_DOUBLE_EQ(worker.Reward, 20.0);
  EXPECT_DOUBLE_EQ(worker.RewardFraction, 1.0 / 50.0);
  worker.Reset();
  EXPECT_EQ(worker.Start, 150.0);
  EXPECT_EQ(worker.Stop, 200.0);
  worker.Accumulate(160.0, 140.0);
  EXPECT_DOUBLE_EQ(worker.Reward, 20.0);   // now [150, 160)
  worker.Reset();
  EXPECT_EQ(worker.Start, 200.0);
  EXPECT_EQ(worker.Stop, 250.0);
}

TEST(IntervalImpulseWorker, FiringsInsideTheWindowAddUpAndOthersDoNot) {
  ImpulseWorker<IntervalOfTimeImpulse> worker(10.0, 20.0);
  worker.Reset();
  worker.Accumulate(12.0, 9.0);    // fired before the window
  worker.Accumulate(13.0, 12.0);
  worker.Accumulate(25.0, 20.0);   // fired at the window's end: still inside
  worker.Accumulate(27.0, 25.0);   // after it
  EXPECT_DOUBLE_EQ(worker.Impulse, 6.0);
  EXPECT_DOUBLE_EQ(worker.ImpulseSqr, 18.0);
  worker.Reset();
  EXPECT_EQ(worker.Impulse, 0.0);
  EXPECT_EQ(worker.ImpulseSqr, 0.0);
}

TEST(TimeAveragedImpulseWorker, EachImpulseIsDividedByTheWindowLength) {
  ImpulseWorker<TimeAveragedIntervalOfTimeImpulse> worker(0.0, 6.0);
  worker.Reset();
  worker.Accumulate(2.0, 1.0);
  worker.Accumulate(4.0, 2.0);
  EXPECT_DOUBLE_EQ(worker.Impulse, 1.0);   // two impulses of 3 over 6 time units
  EXPECT_DOUBLE_EQ(worker.ImpulseFraction, 1.0 / 6.0);
}

TEST(SteadyStateImpulseWorker, ResetClearsTheSumAndSlidesTheWindow) {
  ImpulseWorker<SteadyStateImpulse> worker(10.0, 20.0);
  worker.Accumulate(16.0, 15.0);
  EXPECT_DOUBLE_EQ(worker.Impulse, 0.3);
  worker.Reset();
  EXPECT_EQ(worker.Impulse, 0.0);
  EXPECT_EQ(worker.Start, 20.0);
  EXPECT_EQ(worker.Stop, 30.0);
  worker.Accumulate(16.0, 15.0);   // the old window's time no longer counts
  EXPECT_EQ(worker.Impulse, 0.0);
  worker.Accumulate(26.0, 25.0);
  EXPECT_DOUBLE_EQ(worker.Impulse, 0.3);
}
