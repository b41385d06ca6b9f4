#include "random/LaggedFibonacci.h"

namespace {

const int KK = 100;   // the long lag
const int LL = 37;    // the short lag
const int TT = 70;    // guaranteed separation between streams

// (x + y) mod 1 for x, y in [0, 1): the truncation goes through a 32-bit integer.
inline double mod_sum(double x, double y) { return (x + y) - static_cast<int>(x + y); }

}  // namespace

extern "C" {

// The generator state, shared by every LaggedFibonacci object.
static double ran_u[KK];

// The buffer of ranf_arr_cycle, which refills it 1009 values at a time; the sentinel marks
// the end of the usable values for a reader that walks ranf_arr_ptr.
static double ranf_arr_buf[1009];
static double ranf_arr_sentinel = -1.0;
static double* ranf_arr_ptr = &ranf_arr_sentinel;

void ranf_array(double aa[], int n) {
  int i, j;
  for (j = 0; j < KK; j++) aa[j] = ran_u[j];
  for (; j < n; j++) aa[j] = mod_sum(aa[j - KK], aa[j - LL]);
  for (i = 0; i < LL; i++, j++) ran_u[i] = mod_sum(aa[j - KK], aa[j - LL]);
  for (; i < KK; i++, j++) ran_u[i] = mod_sum(aa[j - KK], ran_u[i - LL]);
}

// The first published form: ul[j] holds the least significant bit of u[j] (0 or ulp), so
// the squaring and multiplication steps can flip it without integer arithmetic.
void ranf_start(int seed) {
  int t, s, j;
  double u[KK + KK - 1], ul[KK + KK - 1];
  const double ulp = (1.0 / (1L << 30)) / (1L << 22);   // 2^-52
  // seed + 2 is formed without 32-bit wrap-around: for the two largest seeds a wrapped
  // sum is negative, and the whole stream would then lie outside [0, 1).
  double ss = 2.0 * ulp * (static_cast<int64_t>(seed) + 2);
  for (j = 0; j < KK; j++) {
    u[j] = ss;
    ul[j] = 0.0;
    ss += ss;
    if (ss >= 1.0) ss -= 1.0 - 2 * ulp;
  }
  for (; j < KK + KK - 1; j++) u[j] = ul[j] = 0.0;
  u[1] += ulp;
  ul[1] = ulp;
  s = seed;
  for (t = TT - 1; t;) {
    for (j = KK - 1; j > 0; j--) ul[j + j] = ul[j], u[j + j] = u[j];   // square
    for (j = KK + KK - 2; j > KK - LL; j -= 2) ul[KK + KK - 1 - j] = 0.0, u[KK + KK - 1 - j] = u[j] - ul[j];
    for (j = KK + KK - 2; j >= KK; j--) {
      if (ul[j] == 0.0) continue;
      ul[j - (KK - LL)] = ulp - ul[j - (KK - LL)];
      u[j - (KK - LL)] = mod_sum(u[j - (KK - LL)], u[j]);
      ul[j - KK] = ulp - ul[j - KK];
      u[j - KK] = mod_sum(u[j - KK], u[j]);
    }
    if (s & 1) {   // multiply by z
      for (j = KK; j > 0; j--) ul[j] = ul[j - 1], u[j] = u[j - 1];
      ul[0] = ul[KK], u[0] = u[KK];
      if (ul[KK] != 0.0) ul[LL] = ulp - ul[LL], u[LL] = mod_sum(u[LL], u[KK]);
    }
    if (s) s >>= 1;
    else t--;
  }
  for (j = 0; j < LL; j++) ran_u[j + KK - LL] = u[j];
  for (; j < KK; j++) ran_u[j - LL] = u[j];
}

double ranf_arr_cycle() {
  ranf_array(ranf_arr_buf, 1009);
  ranf_arr_buf[100] = -1;
  ranf_arr_ptr = ranf_arr_buf + 1;
  return ranf_arr_buf[0];
}

}  // extern "C"

LaggedFibonacci::LaggedFibonacci() : rndArr() {}

// Seeds of 2^31 or more would keep the halving loop of ranf_start from ever reaching 0,
// so only their low 31 bits are used.
void LaggedFibonacci::srnd(unsigned long seed) {
  ranf_start(static_cast<int>(seed & 0x7FFFFFFFUL));
  ranf_array(rndArr, 100);   // the first batch is thrown away
  ranf_array(rndArr, 100);
}

double LaggedFibonacci::rnd() {
  static int k = 0;   // shared by all instances and never reset by srnd
  if (k == 100) {
    k = 0;
    ranf_array(rndArr, 100);
  }
  return rndArr[k++];
}
