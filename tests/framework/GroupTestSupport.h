#ifndef TAVRIN_TESTS_FRAMEWORK_GROUPTESTSUPPORT_H
#define TAVRIN_TESTS_FRAMEWORK_GROUPTESTSUPPORT_H

#include <gtest/gtest.h>

#include <vector>

#include "framework/san/Activity.h"
#include "random/RandomNumberGenerator.h"
#include "random/UserDistributions.h"

// An activity whose predicate, rank, weight and delay the test sets, and which counts how
// often it is asked and fired.
class StubActivity : public Activity {
 public:
  explicit StubActivity(const char* name, bool enabled = true, int rank = 1, double weight = 1.0)
      : Predicate(enabled), RankValue(rank), WeightValue(weight) {
    ActivityInitialize(name, 0, Exponential, RaceEnabled, 0, 0, false);
  }

  bool Enabled() override {
    EnabledCalls++;
    OldEnabled = NewEnabled;
    NewEnabled = Predicate;
    return NewEnabled;
  }
  BaseActionClass* Fire() override {
    FireCount++;
    return this;
  }
  double Weight() override { return WeightValue; }
  int Rank() override { return RankValue; }
  double Rate() override { return 0.5 * WeightValue; }
  double SampleDistribution() override { return Delay; }
  bool ReactivationPredicate() override { return Reactivates; }
  bool ReactivationFunction() override { return Reactivates; }
  void LinkVariables() override {}

  bool Predicate;
  int RankValue;
  double WeightValue;
  double Delay = 0.0;
  bool Reactivates = false;
  int EnabledCalls = 0;
  int FireCount = 0;
};

// Installs a generator that returns the given draws in turn for the lifetime of the object,
// then gives the distribution object its own generator back. Running out of draws fails the
// test, so a test also checks how many draws the code under test makes.
class ScriptedDraws : public RandomNumberGenerator {
 public:
  explicit ScriptedDraws(std::vector<double> draws) : Draws(draws), Saved(TheDistribution->RNG) {
    TheDistribution->RNG = this;
  }
  ~ScriptedDraws() override { TheDistribution->RNG = Saved; }
  double rnd() override {
    if (Next >= Draws.size()) {
      ADD_FAILURE() << "more draws than scripted";
      return 0.5;
    }
    return Draws[Next++];
  }
  void srnd(unsigned long) override {}
  size_t used() const { return Next; }

 private:
  std::vector<double> Draws;
  size_t Next = 0;
  RandomNumberGenerator* Saved;
};

#endif
