#ifndef TAVRIN_REWARDS_REWARDMEMORY_H
#define TAVRIN_REWARDS_REWARDMEMORY_H

#include <new>

#include "framework/Errors.h"

// Allocation helpers of the reward classes: every array and owned name is made with new[],
// and a failed allocation ends the process through MemoryAllocationError.

// n value-initialised elements (null pointers, zero numbers, default-constructed objects).
template <class T>
T* NewRewardArray(int n) {
  T* array = new (std::nothrow) T[n]();
  if (array == nullptr) MemoryAllocationError();
  return array;
}

// A new[] copy of text, or null for a null text.
char* CopyRewardString(const char* text);

// Frees target and replaces it with a copy of text.
void ReplaceString(char*& target, const char* text);

#endif
