#pragma once
// Internal to the engine: the checked arithmetic, the working copy of the
// inputs and the stages of the pipeline, in the order they run.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <type_traits>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "engine.h"

namespace hasorin::engine::detail {

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

// Two piles side by side, one per lane. Each lane does exactly the scalar
// operations of its pile in the same order (no fused or reordered steps), so
// its values are bit for bit those of the pile computed alone; a pair takes
// half the instructions, divisions and square roots. SSE2 is part of every
// x86-64; elsewhere the lanes are two plain doubles.
#if defined(__SSE2__) || defined(_M_X64)
struct Lanes {
  __m128d v;
  Lanes() = default;
  Lanes(double x) : v(_mm_set1_pd(x)) {}
  Lanes(double lane0, double lane1) : v(_mm_set_pd(lane1, lane0)) {}
  explicit Lanes(__m128d x) : v(x) {}
  static Lanes Load(const double* from) { return Lanes(_mm_loadu_pd(from)); }
  double lane0() const { return _mm_cvtsd_f64(v); }
  double lane1() const { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
  void Store(double* to) const { _mm_storeu_pd(to, v); }
  void StoreLanes(double* lane0To, double* lane1To) const {
    _mm_storel_pd(lane0To, v);
    _mm_storeh_pd(lane1To, v);
  }
};
inline Lanes operator+(Lanes a, Lanes b) { return Lanes(_mm_add_pd(a.v, b.v)); }
inline Lanes operator-(Lanes a, Lanes b) { return Lanes(_mm_sub_pd(a.v, b.v)); }
inline Lanes operator*(Lanes a, Lanes b) { return Lanes(_mm_mul_pd(a.v, b.v)); }
inline Lanes operator/(Lanes a, Lanes b) { return Lanes(_mm_div_pd(a.v, b.v)); }
inline Lanes operator-(Lanes a) { return Lanes(_mm_xor_pd(a.v, _mm_set1_pd(-0.0))); }
inline Lanes Abs(Lanes a) { return Lanes(_mm_andnot_pd(_mm_set1_pd(-0.0), a.v)); }
inline Lanes Sqrt(Lanes a) { return Lanes(_mm_sqrt_pd(a.v)); }
#else
struct Lanes {
  double l0, l1;
  Lanes() = default;
  Lanes(double x) : l0(x), l1(x) {}
  Lanes(double lane0, double lane1) : l0(lane0), l1(lane1) {}
  static Lanes Load(const double* from) { return {from[0], from[1]}; }
  double lane0() const { return l0; }
  double lane1() const { return l1; }
  void Store(double* to) const { to[0] = l0, to[1] = l1; }
  void StoreLanes(double* lane0To, double* lane1To) const { *lane0To = l0, *lane1To = l1; }
};
inline Lanes operator+(Lanes a, Lanes b) { return {a.l0 + b.l0, a.l1 + b.l1}; }
inline Lanes operator-(Lanes a, Lanes b) { return {a.l0 - b.l0, a.l1 - b.l1}; }
inline Lanes operator*(Lanes a, Lanes b) { return {a.l0 * b.l0, a.l1 * b.l1}; }
inline Lanes operator/(Lanes a, Lanes b) { return {a.l0 / b.l0, a.l1 / b.l1}; }
inline Lanes operator-(Lanes a) { return {-a.l0, -a.l1}; }
inline Lanes Abs(Lanes a) { return {std::fabs(a.l0), std::fabs(a.l1)}; }
inline Lanes Sqrt(Lanes a) { return {std::sqrt(a.l0), std::sqrt(a.l1)}; }
#endif
inline double Abs(double a) { return std::fabs(a); }
inline double Sqrt(double a) { return std::sqrt(a); }

// a < b (a <= b) ? then : otherwise, lane by lane.
#if defined(__SSE2__) || defined(_M_X64)
inline Lanes Choose(__m128d mask, Lanes then, Lanes otherwise) {
  return Lanes(_mm_or_pd(_mm_and_pd(mask, then.v), _mm_andnot_pd(mask, otherwise.v)));
}
inline Lanes IfLess(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Choose(_mm_cmplt_pd(a.v, b.v), then, otherwise);
}
inline Lanes IfLessEqual(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return Choose(_mm_cmple_pd(a.v, b.v), then, otherwise);
}
#else
inline Lanes IfLess(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return {a.l0 < b.l0 ? then.l0 : otherwise.l0, a.l1 < b.l1 ? then.l1 : otherwise.l1};
}
inline Lanes IfLessEqual(Lanes a, Lanes b, Lanes then, Lanes otherwise) {
  return {a.l0 <= b.l0 ? then.l0 : otherwise.l0, a.l1 <= b.l1 ? then.l1 : otherwise.l1};
}
#endif
inline double IfLess(double a, double b, double then, double otherwise) { return a < b ? then : otherwise; }
inline double IfLessEqual(double a, double b, double then, double otherwise) {
  return a <= b ? then : otherwise;
}
// f of each lane: library functions such as sinh have no two-lane form.
template <class F>
Lanes EachLane(Lanes x, F f) {
  return Lanes(f(x.lane0()), f(x.lane1()));
}
template <class F>
double EachLane(double x, F f) {
  return f(x);
}
// How many lanes of a < b hold: 0, 1 (the piles differ) or 2.
inline int CountLess(Lanes a, Lanes b) { return (a.lane0() < b.lane0()) + (a.lane1() < b.lane1()); }

inline bool AllFinite(double x) { return std::fabs(x) <= std::numeric_limits<double>::max(); }
inline bool AllFinite(Lanes x) { return AllFinite(x.lane0()) && AllFinite(x.lane1()); }

// The values of one pile (double) or of two piles side by side (Lanes):
// Piles<T>{i}(f) gives f(i), or f(i) and f(i + 1); In(t) the slots of table t.
template <class T>
struct Piles;
template <>
struct Piles<double> {
  int i;
  template <class F>
  double operator()(F f) const {
    return f(i);
  }
  double In(const PileTable& t) const { return t[i]; }
};
template <>
struct Piles<Lanes> {
  int i;
  template <class F>
  Lanes operator()(F f) const {
    return Lanes(f(i), f(i + 1));
  }
  Lanes In(const PileTable& t) const { return Lanes::Load(&t.v[size_t(i)]); }
};

// The same steps as Guard without a branch each, on one pile or a pair:
// every checked value is added to one sum, which ends non-finite when any of
// them was (or, rarely, when finite values overflow it; the pile is then
// redone with a Guard).
template <class T>
class Unchecked {
 public:
  bool ok() const { return AllFinite(sum_); }
  T Finite(T x) {
    sum_ = sum_ + x;
    return x;
  }
  T Div(T a, T b) {
    const T q = a / b;
    sum_ = sum_ + (q + b);
    return q;
  }
  T Sqrt(T x) {
    const T root = detail::Sqrt(x);  // NaN below zero
    sum_ = sum_ + root;
    return root;
  }
  void Put(T& out, T value) {
    out = value;
    sum_ = sum_ + value;
  }
  // The piles cannot go side by side (they take different branches): the
  // pair is then redone one pile at a time.
  void Refuse() { sum_ = sum_ + std::numeric_limits<double>::quiet_NaN(); }

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
    Unchecked<double> fast;
    steps(fast, out);
    if (!fast.ok()) [[unlikely]] {
      Guard g;
      steps(g, out);
      if (!g.ok()) return Stop(i, g, out);
    }
    const std::array<PileTable*, N> tables = tables_(r_);
#pragma GCC unroll 32
    for (size_t k = 0; k < N; ++k) (*tables[k])[i] = out[k];
    return calcerr::kOk;
  }
  // Computes piles i and i + 1 side by side with `steps(check, out)`, where
  // `check` is an Unchecked<Lanes>. Stores both and returns true when no step
  // failed; otherwise stores nothing and the piles are to be Run one by one.
  template <class Steps>
  bool RunPair(int i, Steps&& steps) {
    std::array<Lanes, N> out;
    Unchecked<Lanes> fast;
    steps(fast, out);
    if (!fast.ok()) [[unlikely]]
      return false;
    const std::array<PileTable*, N> tables = tables_(r_);
#pragma GCC unroll 32
    for (size_t k = 0; k < N; ++k) out[k].Store(&(*tables[k])[i]);
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

// Calculation conditions and loads in working units (kN, m, kN/m2).
struct WorkConditions {
  double Ep = 0;        // kN/m2
  double kh = 0;        // kN/m3
  int head = 0;         // 0 rigid, otherwise hinged
  int tip = 0;          // 1 hinged, 2 free, otherwise fixed
  int kvChoice = 0;     // 0 computed, otherwise the entered value
  double alpha = 0;     // allowable-stress increase factor
  std::array<double, 6> loads{};  // Xo, Yo, Zo, Mxo, Myo, Mzo
};

// One pile in working units: D, h, L, X, Y, Z in m, dt in mm, A in m2, I in
// m4, Zs in m3, angles in radians, Kv in kN/m.
struct WorkPile {
  double D, t, dt, A, I, Zs, h, L, X, Y, Z, phi, psi, Kv;
};

// Member axes of a pile, from its vertical angle phi and plan angle psi.
struct Axes {
  double sphi, cphi, spsi, cpsi;
};

struct Workspace {
  WorkConditions c;
  int n = 0;
  std::array<WorkPile, kMaxPiles + 1> pile;
  std::array<Axes, kMaxPiles + 1> axes;  // set by the assembly, used by the forces
  // Each pile's terms of the 21 entries of the stiffness's upper triangle
  // (and one slot of padding), summed afterwards in pile order.
  std::array<std::array<double, 22>, kMaxPiles + 1> terms;
};

// The 6 x 7 equation matrix: rows X, Y, Z, Mx, My, Mz; columns dx, dy, dz,
// thetax, thetay, thetaz and the loads.
using Matrix67 = std::array<std::array<double, 7>, 6>;

// Steps 1 and 2: conditions, loads and the pile table in working form.
int ReadInputs(const Project& project, Workspace& w, CalcResults& r);
// Pile springs: beta, Kt, Kv for every pile, then K1..K4 for every pile.
int CalcSprings(const Workspace& w, CalcResults& r);
// Group stiffness at the origin with the loads in column 7.
int AssembleGroupStiffness(Workspace& w, const CalcResults& r, Matrix67& m);
// Keeps the assembled stiffness in the results.
inline void KeepStiffness(const Matrix67& m, CalcResults& r) {
  for (size_t a = 0; a < 6; ++a)
    for (size_t b = 0; b < 6; ++b) r.Stiffness[a][b] = m[a][b];
  r.assembled = true;
}
// Gauss-Jordan elimination without pivoting; false on a zero or noise-level
// pivot or an overflow. On success `x` holds the six cap values.
bool SolveGroupStiffness(Matrix67 m, std::array<double, 6>& x);
// Pile-head displacements, member forces and stresses for every pile.
int CalcPileHeadForces(const Workspace& w, CalcResults& r);
// Stress check of every pile for both steel grades.
int CalcStressCheck(const Workspace& w, CalcResults& r);

}  // namespace hasorin::engine::detail
