#ifndef TAVRIN_FRAMEWORK_FASTSET_H
#define TAVRIN_FRAMEWORK_FASTSET_H

#include <cassert>
#include <set>

// FastSet: a set of integers filled once through an ordered set and then frozen into a
// sorted array, which is cheap to walk on every firing.
class FastSet {
 public:
  FastSet();
  ~FastSet();
  FastSet(const FastSet&) = delete;
  FastSet& operator=(const FastSet&) = delete;

  bool insert(const int& value);
  bool find(const int& value) const;
  bool empty() const;
  void NoMoreModifications();
  // Both are read on every firing by the reward accumulation, so they live here to be
  // inlined. Only a frozen set may be indexed.
  int size() const {
    assert(is_vec_rep);
    return vec_rep.size;
  }
  int& operator[](int i) {
    assert(is_vec_rep);
    return vec_rep.vec[i];
  }
  void clear();

  static int number1;   // every FastSet ever constructed
  static int number2;   // every call of NoMoreModifications

 private:
  struct VecRep {
    int* vec;    // owned: ascending values
    int size;
  };
  bool is_vec_rep;
  union {
    std::set<int> set_rep;
    VecRep vec_rep;
  };
};

#endif
