#include "framework/FastSet.h"

#include <cassert>
#include <new>

#include "framework/Errors.h"

int FastSet::number1 = 0;
int FastSet::number2 = 0;

FastSet::FastSet() : is_vec_rep(false), set_rep() { number1++; }

FastSet::~FastSet() {
  if (is_vec_rep)
    delete[] vec_rep.vec;
  else
    set_rep.~set();
}

bool FastSet::insert(const int& value) {
  assert(!is_vec_rep);
  return set_rep.insert(value).second;
}

bool FastSet::find(const int& value) const {
  assert(!is_vec_rep);
  return set_rep.count(value) != 0;
}

bool FastSet::empty() const {
  assert(!is_vec_rep);
  return set_rep.empty();
}

void FastSet::NoMoreModifications() {
  assert(!is_vec_rep);
  int count = static_cast<int>(set_rep.size());
  int* values = nullptr;
  if (count > 0) {
    values = new (std::nothrow) int[count];
    if (values == nullptr) MemoryAllocationError();
    int i = 0;
    for (int v : set_rep) values[i++] = v;
  }
  set_rep.~set();
  is_vec_rep = true;
  vec_rep.vec = values;
  vec_rep.size = count;
  number2++;
}

void FastSet::clear() {
  if (is_vec_rep) {
    delete[] vec_rep.vec;
    vec_rep.vec = nullptr;
    vec_rep.size = 0;
  } else {
    set_rep.clear();
  }
}
