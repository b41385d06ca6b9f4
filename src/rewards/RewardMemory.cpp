#include "rewards/RewardMemory.h"

#include <cstring>

char* CopyRewardString(const char* text) {
  if (text == nullptr) return nullptr;
  char* copy = NewRewardArray<char>(static_cast<int>(std::strlen(text)) + 1);
  std::strcpy(copy, text);
  return copy;
}

void ReplaceString(char*& target, const char* text) {
  char* copy = CopyRewardString(text);
  delete[] target;
  target = copy;
}
