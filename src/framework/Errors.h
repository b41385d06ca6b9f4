#ifndef TAVRIN_FRAMEWORK_ERRORS_H
#define TAVRIN_FRAMEWORK_ERRORS_H

// The framework's error reports, all on the standard error stream, and its assertion
// convention for broken internal invariants.

void MemoryAllocationError();   // prints its message and ends the process with status 1
void MemoryError();
void ErrorEmptyParameter(const char* txt);
void InconsistantState();
void UserError();
void ArrayTypeMismatchError(const char* a, const char* b);
void StructTypeMismatchError(const char* a, const char* b);
void InvalidArrayType();
[[noreturn]] void InvalidStructType();  // a struct element of an invalid type cannot go on
void InvalidUnorderedType();
void ArrayOutOfBoundsError(const char* where);

// A weight (a case probability, or an instantaneous activity's weight among tied events)
// comes from model code and may read the marking or a global; one that is negative or not
// finite cannot be drawn from. Both report on the standard error and end the process with
// status 1; group names the group choosing among its members, or is null.
[[noreturn]] void InvalidWeight(const char* activity, const char* group, double weight);
[[noreturn]] void NoPositiveWeight(const char* group);

// SyncError only groups the two messages about synchronising actions.
class SyncError {
 public:
  static void WrongDistributionType();
  static void NoAction();
};

// Reports a failed framework assertion ("!! Assertion failed in file F, line L", then the
// failed condition on a line of its own) and aborts.
[[noreturn]] void FrameworkAssertionFailed(const char* file, int line, const char* condition);

// The framework assertion: the condition must hold; it is evaluated exactly once, so it
// must not carry a side effect the program relies on.
#define TAVRIN_ASSERT(condition)                         \
  do {                                                   \
    if (!(condition)) FrameworkAssertionFailed(__FILE__, __LINE__, #condition); \
  } while (0)

#endif
