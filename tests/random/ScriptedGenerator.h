#ifndef TAVRIN_TESTS_RANDOM_SCRIPTEDGENERATOR_H
#define TAVRIN_TESTS_RANDOM_SCRIPTEDGENERATOR_H

#include <vector>

#include "random/RandomNumberGenerator.h"

// A generator under the test's control: it returns the scripted values in turn (the last
// one again once they run out) and counts every draw.
class ScriptedGenerator : public RandomNumberGenerator {
 public:
  explicit ScriptedGenerator(std::vector<double> values) : Values(values) {}
  double rnd() override {
    double value = Values[Draws < Values.size() ? Draws : Values.size() - 1];
    Draws++;
    return value;
  }
  void srnd(unsigned long) override {}

  std::vector<double> Values;
  size_t Draws = 0;
};

#endif
