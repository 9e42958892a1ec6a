#pragma once
// Internal to the engine: the checked arithmetic, the lanes and the stages
// of the pipeline, in the order they run.
//
// The stages that run on lanes are compiled twice: as here, on two lanes in
// namespace lanes2, and by stages_avx2.cpp on four lanes in namespace lanes4
// with HASORIN_LANES 4, for AVX2. Everything below lives in that namespace,
// so that no function of one build is ever taken for the other's.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <type_traits>
#if defined(__SSE2__) || defined(_M_X64)
#include <immintrin.h>
#endif

#include "work.h"

#ifndef HASORIN_LANES
#define HASORIN_LANES 2
#endif
#if HASORIN_LANES == 4
#define HASORIN_LANES_NS lanes4
#define HASORIN_LANES_BEGIN namespace lanes4 {
#else
#define HASORIN_LANES_NS lanes2
#define HASORIN_LANES_BEGIN inline namespace lanes2 {
#endif

namespace hasorin::engine::detail {
HASORIN_LANES_BEGIN

// Arithmetic that stops at the first failing step. Chains of +, -, * keep a
// non-finite value non-finite, so they are checked where their value is used:
// by a division, a square root, a comparison or a store. Once failed, later
// steps compute garbage that is never stored, and the first code is kept.
// The checks are one predictable branch each; the failures are out of line.
class Guard {
 public:
  int code() const { return code_; }
  bool ok() const { return code_ == 0; }

  double Finite(double x) {
    if (!IsFinite(x)) [[unlikely]]
      return Fail(calcerr::kOverflow);
    return x;
  }
  // The dividend and divisor are evaluated first, so an overflow there wins
  // over the division by zero; 0/0 counts as a division by zero. A finite
  // quotient of a finite divisor means neither happened.
  double Div(double a, double b) {
    const double q = a / b;
    if (!(IsFinite(q) & IsFinite(b))) [[unlikely]]
      return DivFailed(a, b);
    return q;
  }
  double Sqrt(double x) {
    if (!(x >= 0.0 && x <= kMax)) [[unlikely]]
      return Fail(std::isnan(x) || x > kMax ? calcerr::kOverflow : calcerr::kInvalidArgument);
    return std::sqrt(x);
  }
  // Keeps `value` as the next result of the pile in `out`, and counts the
  // results kept before the first failing step.
  void Put(double& out, double value) {
    out = value;
    if (!(IsFinite(value) & (code_ == 0))) [[unlikely]] {
      Finite(value);
      return;
    }
    ++kept_;
  }
  int kept() const { return kept_; }
  double Fail(int code) {
    if (code_ == 0) code_ = code;
    return 0.0;
  }

 private:
  static constexpr double kMax = std::numeric_limits<double>::max();
  static bool IsFinite(double x) { return std::fabs(x) <= kMax; }
  [[gnu::noinline, gnu::cold]] double DivFailed(double a, double b) {
    if (!IsFinite(a) || !IsFinite(b)) return Fail(calcerr::kOverflow);
    if (b == 0.0) return Fail(calcerr::kDivisionByZero);
    return Fail(calcerr::kOverflow);  // the quotient itself overflowed
  }

  int code_ = 0;
  int kept_ = 0;
};

// Piles side by side, one per lane: two with SSE2 (part of every x86-64),
// four with AVX2. Each lane does exactly the scalar operations of
// its pile in the same order (no fused or reordered steps), so its values are
// bit for bit those of the pile computed alone; a group takes a fraction of
// the instructions, divisions and square roots. Elsewhere the lanes are plain
// doubles.
#if HASORIN_LANES == 4
struct Lanes {
  static constexpr int kWidth = 4;
  __m256d v;
  Lanes() = default;
  Lanes(double x) : v(_mm256_set1_pd(x)) {}
  explicit Lanes(__m256d x) : v(x) {}
  // Lane k holds f(k).
  template <class F>
  static Lanes Each(F f) {
    return Lanes(_mm256_setr_pd(f(0), f(1), f(2), f(3)));
  }
  static Lanes Load(const double* from) { return Lanes(_mm256_loadu_pd(from)); }
  void Store(double* to) const { _mm256_storeu_pd(to, v); }
  double lane(int k) const {
    alignas(32) double a[4];
    _mm256_store_pd(a, v);
    return a[k];
  }
  // Lane k of rows[0..3] into to[k][offset..offset + 3]: a 4 x 4 transpose.
  static void TransposeStore(const Lanes* rows, double* const* to, size_t offset) {
    const __m256d t0 = _mm256_unpacklo_pd(rows[0].v, rows[1].v), t1 = _mm256_unpackhi_pd(rows[0].v, rows[1].v);
    const __m256d t2 = _mm256_unpacklo_pd(rows[2].v, rows[3].v), t3 = _mm256_unpackhi_pd(rows[2].v, rows[3].v);
    _mm256_storeu_pd(to[0] + offset, _mm256_permute2f128_pd(t0, t2, 0x20));
    _mm256_storeu_pd(to[1] + offset, _mm256_permute2f128_pd(t1, t3, 0x20));
    _mm256_storeu_pd(to[2] + offset, _mm256_permute2f128_pd(t0, t2, 0x31));
    _mm256_storeu_pd(to[3] + offset, _mm256_permute2f128_pd(t1, t3, 0x31));
  }
};
inline Lanes operator+(Lanes a, Lanes b) { return Lanes(_mm256_add_pd(a.v, b.v)); }
inline Lanes operator-(Lanes a, Lanes b) { return Lanes(_mm256_sub_pd(a.v, b.v)); }
inline Lanes operator*(Lanes a, Lanes b) { return Lanes(_mm256_mul_pd(a.v, b.v)); }
inline Lanes operator/(Lanes a, Lanes b) { return Lanes(_mm256_div_pd(a.v, b.v)); }
inline Lanes operator-(Lanes a) { return Lanes(_mm256_xor_pd(a.v, _mm256_set1_pd(-0.0))); }
inline Lanes Abs(Lanes a) { return Lanes(_mm256_andnot_pd(_mm256_set1_pd(-0.0), a.v)); }
inline Lanes Sqrt(Lanes a) { return Lanes(_mm256_sqrt_pd(a.v)); }
// acc with a NaN in each lane where x is not finite (x * 0 is then NaN, and
// +-0 otherwise): one step of latency, where a sum would take three.
inline Lanes MarkNonFinite(Lanes acc, Lanes x) {
  return Lanes(_mm256_or_pd(acc.v, _mm256_mul_pd(x.v, _mm256_setzero_pd())));
}
// a < b (a <= b) ? then : otherwise, lane by lane; false for NaN, as in C++.
inline Lanes IfLess(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Lanes(_mm256_blendv_pd(otherwise.v, then.v, _mm256_cmp_pd(a.v, b.v, _CMP_LT_OQ)));
}
inline Lanes IfLessEqual(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Lanes(_mm256_blendv_pd(otherwise.v, then.v, _mm256_cmp_pd(a.v, b.v, _CMP_LE_OQ)));
}
// In how many lanes a < b holds.
inline int CountLess(Lanes a, Lanes b) {
  return std::popcount(unsigned(_mm256_movemask_pd(_mm256_cmp_pd(a.v, b.v, _CMP_LT_OQ))));
}
inline int CountLessEqual(Lanes a, Lanes b) {
  return std::popcount(unsigned(_mm256_movemask_pd(_mm256_cmp_pd(a.v, b.v, _CMP_LE_OQ))));
}
// Bit k set where a < b in lane k.
inline unsigned LessBits(Lanes a, Lanes b) { return unsigned(_mm256_movemask_pd(_mm256_cmp_pd(a.v, b.v, _CMP_LT_OQ))); }
#elif defined(__SSE2__) || defined(_M_X64)
struct Lanes {
  static constexpr int kWidth = 2;
  __m128d v;
  Lanes() = default;
  Lanes(double x) : v(_mm_set1_pd(x)) {}
  explicit Lanes(__m128d x) : v(x) {}
  template <class F>
  static Lanes Each(F f) {
    const double lane0 = f(0);
    return Lanes(_mm_setr_pd(lane0, f(1)));
  }
  static Lanes Load(const double* from) { return Lanes(_mm_loadu_pd(from)); }
  void Store(double* to) const { _mm_storeu_pd(to, v); }
  double lane(int k) const { return _mm_cvtsd_f64(k == 0 ? v : _mm_unpackhi_pd(v, v)); }
  static void TransposeStore(const Lanes* rows, double* const* to, size_t offset) {
    _mm_storeu_pd(to[0] + offset, _mm_unpacklo_pd(rows[0].v, rows[1].v));
    _mm_storeu_pd(to[1] + offset, _mm_unpackhi_pd(rows[0].v, rows[1].v));
  }
};
inline Lanes operator+(Lanes a, Lanes b) { return Lanes(_mm_add_pd(a.v, b.v)); }
inline Lanes operator-(Lanes a, Lanes b) { return Lanes(_mm_sub_pd(a.v, b.v)); }
inline Lanes operator*(Lanes a, Lanes b) { return Lanes(_mm_mul_pd(a.v, b.v)); }
inline Lanes operator/(Lanes a, Lanes b) { return Lanes(_mm_div_pd(a.v, b.v)); }
inline Lanes operator-(Lanes a) { return Lanes(_mm_xor_pd(a.v, _mm_set1_pd(-0.0))); }
inline Lanes Abs(Lanes a) { return Lanes(_mm_andnot_pd(_mm_set1_pd(-0.0), a.v)); }
inline Lanes Sqrt(Lanes a) { return Lanes(_mm_sqrt_pd(a.v)); }
inline Lanes MarkNonFinite(Lanes acc, Lanes x) { return Lanes(_mm_or_pd(acc.v, _mm_mul_pd(x.v, _mm_setzero_pd()))); }
inline Lanes Choose(__m128d mask, Lanes then, Lanes otherwise) {
  return Lanes(_mm_or_pd(_mm_and_pd(mask, then.v), _mm_andnot_pd(mask, otherwise.v)));
}
inline Lanes IfLess(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Choose(_mm_cmplt_pd(a.v, b.v), then, otherwise);
}
inline Lanes IfLessEqual(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Choose(_mm_cmple_pd(a.v, b.v), then, otherwise);
}
inline int CountLess(Lanes a, Lanes b) { return (a.lane(0) < b.lane(0)) + (a.lane(1) < b.lane(1)); }
inline int CountLessEqual(Lanes a, Lanes b) { return (a.lane(0) <= b.lane(0)) + (a.lane(1) <= b.lane(1)); }
inline unsigned LessBits(Lanes a, Lanes b) { return unsigned(_mm_movemask_pd(_mm_cmplt_pd(a.v, b.v))); }
#else
struct Lanes {
  static constexpr int kWidth = 2;
  double l[2];
  Lanes() = default;
  Lanes(double x) : l{x, x} {}
  template <class F>
  static Lanes Each(F f) {
    Lanes x;
    x.l[0] = f(0);
    x.l[1] = f(1);
    return x;
  }
  static Lanes Load(const double* from) { return Each([from](int k) { return from[k]; }); }
  void Store(double* to) const { to[0] = l[0], to[1] = l[1]; }
  double lane(int k) const { return l[k]; }
  static void TransposeStore(const Lanes* rows, double* const* to, size_t offset) {
    for (int k = 0; k < 2; ++k) to[k][offset] = rows[0].l[k], to[k][offset + 1] = rows[1].l[k];
  }
};
template <class F>
Lanes EachOf(Lanes a, Lanes b, F f) {
  return Lanes::Each([&](int k) { return f(a.l[k], b.l[k]); });
}
inline Lanes operator+(Lanes a, Lanes b) { return EachOf(a, b, [](double x, double y) { return x + y; }); }
inline Lanes operator-(Lanes a, Lanes b) { return EachOf(a, b, [](double x, double y) { return x - y; }); }
inline Lanes operator*(Lanes a, Lanes b) { return EachOf(a, b, [](double x, double y) { return x * y; }); }
inline Lanes operator/(Lanes a, Lanes b) { return EachOf(a, b, [](double x, double y) { return x / y; }); }
inline Lanes operator-(Lanes a) { return Lanes::Each([&](int k) { return -a.l[k]; }); }
inline Lanes Abs(Lanes a) { return Lanes::Each([&](int k) { return std::fabs(a.l[k]); }); }
inline Lanes Sqrt(Lanes a) { return Lanes::Each([&](int k) { return std::sqrt(a.l[k]); }); }
inline Lanes MarkNonFinite(Lanes acc, Lanes x) { return acc + x; }
inline Lanes IfLess(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Lanes::Each([&](int k) { return a.l[k] < b.l[k] ? then.l[k] : otherwise.l[k]; });
}
inline Lanes IfLessEqual(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Lanes::Each([&](int k) { return a.l[k] <= b.l[k] ? then.l[k] : otherwise.l[k]; });
}
inline int CountLess(Lanes a, Lanes b) { return (a.l[0] < b.l[0]) + (a.l[1] < b.l[1]); }
inline int CountLessEqual(Lanes a, Lanes b) { return (a.l[0] <= b.l[0]) + (a.l[1] <= b.l[1]); }
inline unsigned LessBits(Lanes a, Lanes b) { return unsigned(a.l[0] < b.l[0]) | unsigned(a.l[1] < b.l[1]) << 1; }
#endif
constexpr int kLanes = Lanes::kWidth;
inline double Abs(double a) { return std::fabs(a); }
inline double Sqrt(double a) { return std::sqrt(a); }
inline double MarkNonFinite(double acc, double x) { return acc + x; }
inline double IfLess(double a, double b, double then, double otherwise) { return a < b ? then : otherwise; }
inline double IfLessEqual(double a, double b, double then, double otherwise) {
  return a <= b ? then : otherwise;
}
// f of each lane: library functions such as sinh have no form on lanes.
template <class F>
Lanes EachLane(Lanes x, F f) {
  return Lanes::Each([&](int k) { return f(x.lane(k)); });
}
template <class F>
double EachLane(double x, F f) {
  return f(x);
}

inline bool AllFinite(double x) { return std::fabs(x) <= std::numeric_limits<double>::max(); }
inline bool AllFinite(Lanes x) {
  return CountLessEqual(Abs(x), std::numeric_limits<double>::max()) == kLanes;
}

// The values of one pile (double) or of kLanes piles side by side (Lanes):
// Piles<T>{i}(f) gives f(i), or f(i) .. f(i + kLanes - 1); In(t) the slots of
// table t.
template <class T>
struct Piles;
template <>
struct Piles<double> {
  using Value = double;
  int i;
  template <class F>
  double operator()(F f) const {
    return f(i);
  }
  double Of(const Column& c) const { return c[size_t(i)]; }
  double In(const PileTable& t) const { return Of(t.v); }
};
template <>
struct Piles<Lanes> {
  using Value = Lanes;
  int i;
  template <class F>
  Lanes operator()(F f) const {
    return Lanes::Each([&](int k) { return f(i + k); });
  }
  Lanes Of(const Column& c) const { return Lanes::Load(&c[size_t(i)]); }
  Lanes In(const PileTable& t) const { return Of(t.v); }
};
// Piles at[0] .. at[kLanes - 1] side by side, wherever they are in the table.
struct PilesAt {
  using Value = Lanes;
  const int* at;
  template <class F>
  Lanes operator()(F f) const {
    return Lanes::Each([&](int k) { return f(at[k]); });
  }
  Lanes Of(const Column& c) const {
    return Lanes::Each([&](int k) { return c[size_t(at[k])]; });
  }
  Lanes In(const PileTable& t) const { return Of(t.v); }
};

// The same steps as Guard without a branch each, on one pile or on lanes:
// every checked value is marked in one value, which ends non-finite when any
// of them was. One pile adds them up (a sum of finite values may, rarely,
// overflow; the pile is then redone with a Guard); lanes mark NaNs.
template <class T>
class Unchecked {
 public:
  bool ok() const { return AllFinite(sum_); }
  T Finite(T x) {
    sum_ = MarkNonFinite(sum_, x);
    return x;
  }
  T Div(T a, T b) {
    const T q = a / b;
    sum_ = MarkNonFinite(MarkNonFinite(sum_, q), b);
    return q;
  }
  T Sqrt(T x) {
    const T root = HASORIN_LANES_NS::Sqrt(x);  // NaN below zero
    sum_ = MarkNonFinite(sum_, root);
    return root;
  }
  void Put(T& out, T value) {
    out = value;
    sum_ = MarkNonFinite(sum_, value);
  }
  // The piles cannot go side by side (they take different branches): they
  // are then redone one pile at a time.
  void Refuse() { sum_ = MarkNonFinite(sum_, std::numeric_limits<double>::quiet_NaN()); }

 private:
  T sum_ = 0.0;
};

// One pile's results of a stage, one table each, in the order of the steps
// that compute them. A pile is computed Unchecked; only when that fails is it
// redone with a Guard, which finds the first failing step. So a run stores
// exactly what a step-by-step run would, and marks the tables' progress once
// per stage instead of at every store.
// `tables(r)` lists the tables as a std::array of PileTable*; it is called
// where they are needed, so that their addresses stay constants of the code.
template <class Tables>
class PileSteps {
 public:
  static constexpr size_t N = std::tuple_size_v<std::invoke_result_t<Tables, CalcResults&>>;
  using Results = std::array<double, N>;

  PileSteps(CalcResults& r, Tables tables) : r_(r), tables_(tables) {}

  // Computes pile i with `steps(check, out)`, where `check` is an Unchecked
  // or a Guard and out[k] receives the result for table k. Returns 0, or the
  // code of the first failing step after storing the results before it.
  template <class Steps>
  int Run(int i, Steps&& steps) {
    Results out;
    if (!Fast(steps, out)) [[unlikely]] {
      Guard g;
      steps(g, out);
      if (!g.ok()) return Stop(i, g, out);
    }
    Store(i, out);
    return calcerr::kOk;
  }
  // Run for pile i, without the Guard: false, and nothing stored, when a
  // step fails.
  template <class Steps>
  bool TryRun(int i, Steps&& steps) {
    Results out;
    if (!Fast(steps, out)) [[unlikely]]
      return false;
    Store(i, out);
    return true;
  }
  // Computes piles i .. i + kLanes - 1 side by side with `steps(check, out)`,
  // where `check` is an Unchecked<Lanes>. Stores them all and returns true
  // when no step failed; otherwise stores nothing and the piles are to be Run
  // one by one.
  template <class Steps>
  bool RunLanes(int i, Steps&& steps) {
    std::array<Lanes, N> out;
    if (!Fast(steps, out)) [[unlikely]]
      return false;
    const std::array<PileTable*, N> tables = tables_(r_);
#pragma GCC unroll 32
    for (size_t k = 0; k < N; ++k) out[k].Store(&(*tables[k])[i]);
    return true;
  }
  // RunLanes for the piles at[0] .. at[kLanes - 1].
  template <class Steps>
  bool RunLanesAt(const int* at, Steps&& steps) {
    std::array<Lanes, N> out;
    if (!Fast(steps, out)) [[unlikely]]
      return false;
    const std::array<PileTable*, N> tables = tables_(r_);
#pragma GCC unroll 32
    for (size_t k = 0; k < N; ++k) {
      double lanes[kLanes];
      out[k].Store(lanes);
      for (int j = 0; j < kLanes; ++j) (*tables[k])[at[j]] = lanes[j];
    }
    return true;
  }
  // Piles first..last take the results of pile first - 1.
  void Repeat(int first, int last) {
    for (PileTable* t : tables_(r_)) std::fill(&(*t)[first], &(*t)[last] + 1, (*t)[first - 1]);
  }
  // Piles 1..n are done.
  void Done(int n) {
    for (PileTable* t : tables_(r_)) t->computed = n;
  }

 private:
  // The steps without a check each; false when one of them failed.
  template <class T, class Steps>
  static bool Fast(Steps& steps, std::array<T, N>& out) {
    Unchecked<T> fast;
    steps(fast, out);
    return fast.ok();
  }
  void Store(int i, const Results& out) {
    const std::array<PileTable*, N> tables = tables_(r_);
#pragma GCC unroll 32
    for (size_t k = 0; k < N; ++k) (*tables[k])[i] = out[k];
  }
  [[gnu::noinline, gnu::cold]] int Stop(int i, const Guard& g, const Results& out) {
    const std::array<PileTable*, N> tables = tables_(r_);
    for (size_t k = 0; k < N; ++k) {
      const bool kept = int(k) < g.kept();
      if (kept) (*tables[k])[i] = out[k];
      tables[k]->computed = kept ? i : i - 1;
    }
    return g.code();
  }

  CalcResults& r_;
  Tables tables_;
};

// Whether `same(k)` is `want` for every pile k of first..last.
template <class Same>
bool AllAlike(int first, int last, bool want, Same same) {
  for (int k = first; k <= last; ++k)
    if (same(k) != want) return false;
  return true;
}

// The last pile of the run from pile i on in which every pile is `same(k)`
// as pile k - 1.
template <class Same>
int EndOfRun(int i, int n, Same same) {
  while (i < n && same(i + 1)) ++i;
  return i;
}

// Pile tables usually hold a few kinds of pile in blocks (the pile editor
// sorts them by diameter): a pile whose inputs equal, bit for bit, those of
// the pile before it gets the same values without computing them again.
inline bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
// Pile i's value in c is pile i - 1's.
inline bool SameAsBefore(const Column& c, int i) { return SameBits(c[size_t(i)], c[size_t(i) - 1]); }

// Steps 1 and 2: conditions, loads and the pile table in working form.
int ReadInputs(const Project& project, Workspace& w, CalcResults& r);
// Pile springs: beta, Kt, Kv for every pile, then K1..K4 for every pile.
int CalcSprings(const Workspace& w, CalcResults& r);
// Group stiffness at the origin with the loads in column 7.
int AssembleGroupStiffness(Workspace& w, const CalcResults& r, Matrix67& m);
// Gauss-Jordan elimination without pivoting; false on a zero or noise-level
// pivot or an overflow. On success `x` holds the six cap values.
bool SolveGroupStiffness(Matrix67 m, std::array<double, 6>& x);
// Pile-head displacements, member forces and stresses for every pile.
int CalcPileHeadForces(const Workspace& w, CalcResults& r);
// Stress check of every pile for both steel grades.
int CalcStressCheck(const Workspace& w, CalcResults& r);

}  // namespace HASORIN_LANES_NS
}  // namespace hasorin::engine::detail
