#include "framework/Errors.h"

#include <cstdlib>
#include <iostream>

void MemoryAllocationError() {
  std::cerr << "Insufficient Memory to allocate dynamic data structures from heap memory" << std::endl;
  std::cerr << "Exiting program..." << std::endl;
  std::exit(1);
}

void MemoryError() { std::cerr << "Memory Error" << std::endl; }

void ErrorEmptyParameter(const char* txt) {
  std::cerr << txt << ": Parameter was an empty reference" << std::endl;
}

void SyncError::WrongDistributionType() {
  std::cerr << "You can only synchronize actions from one type,"
            << "either exponential or instantenous" << std::endl;
}

void SyncError::NoAction() { std::cerr << " no Action found in model" << std::endl; }

void InconsistantState() {
  std::cerr << "This program has entered into an inconsistant state. Please report this bug."
            << std::endl;
}

void UserError() { std::cerr << "A user error has been detected" << std::endl; }

void ArrayTypeMismatchError(const char* a, const char* b) {
  std::cerr << "Array types for equivalence sharing do not match for state variables: " << std::endl;
  std::cerr << "  " << a << std::endl;
  std::cerr << "  " << b << std::endl;
}

void StructTypeMismatchError(const char* a, const char* b) {
  std::cerr << "Struct types for equivalence sharing do not match for state variables: " << std::endl;
  std::cerr << "  " << a << std::endl;
  std::cerr << "  " << b << std::endl;
}

void InvalidArrayType() { std::cerr << "ArrayType is not valid" << std::endl; }

void InvalidStructType() {
  std::cerr << "ArrayType is invalid for struct element" << std::endl;
  std::abort();
}

void InvalidUnorderedType() { std::cerr << "ArrayType is invalid for unordered element" << std::endl; }

void ArrayOutOfBoundsError(const char* where) {
  std::cerr << "Array out of bounds error at " << where << std::endl;
}

void FrameworkAssertionFailed(const char* file, int line, const char* condition) {
  std::cerr << "!! Assertion failed in file " << file << ", line " << line << std::endl;
  std::cerr << "!! Condition: " << condition << std::endl;
  std::abort();
}

void InvalidWeight(const char* activity, const char* group, double weight) {
  std::cerr << "ERROR: INVALID_WEIGHT: activity " << activity;
  if (group != nullptr) std::cerr << " of " << group;
  std::cerr << " has weight " << weight << " (case probabilities and weights must be finite and not negative)"
            << std::endl;
  std::exit(1);
}

void NoPositiveWeight(const char* group) {
  std::cerr << "ERROR: INVALID_WEIGHT: no enabled member of " << group
            << " has a weight above 0, so none can be chosen" << std::endl;
  std::exit(1);
}
