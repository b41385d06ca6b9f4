#include "random/RandomNumberGenerator.h"

RandomNumberGenerator::~RandomNumberGenerator() {}

double RandomNumberGenerator::rnd() { return 0.0; }

void RandomNumberGenerator::srnd(unsigned long) {}
