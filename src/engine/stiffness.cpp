// Group stiffness of the rigid cap at the origin and the solve for its
// three displacements and three rotations.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "stages.h"

namespace hasorin::engine::detail {
HASORIN_LANES_BEGIN
namespace {

using Vec3 = std::array<Lanes, 3>;

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// sin and cos of the piles' angles. A pile table repeats a few rake angles
// and plan directions, typed in whole or tenth degrees: a run computes each
// distinct angle once, and an angle of 0 (a vertical or unturned pile) never.
// The slots outlive the run (they are big enough for every angle of a full
// table at half load), so a run only marks which of them are its own.
class SinCosTable {
 public:
  // A new run, whose slots are none yet.
  SinCosTable() {
    if (++lastRun_ == 0) {  // after 2^32 runs: no slot is of a run again
      for (Slot& slot : slots_) slot.run = 0;
      lastRun_ = 1;
    }
    run_ = lastRun_;
  }
  void operator()(double angle, double& s, double& c) {
    if (angle == 0.0) {
      s = 0.0;
      c = 1.0;
      return;
    }
    const std::uint64_t key = std::bit_cast<std::uint64_t>(angle);
    size_t at = size_t((key * 0x9E3779B97F4A7C15u) >> (64 - kBits));
    while (slots_[at].run == run_ && slots_[at].key != key) at = (at + 1) % slots_.size();
    Slot& slot = slots_[at];
    if (slot.run != run_) slot = {key, run_, std::sin(angle), std::cos(angle)};
    s = slot.s;
    c = slot.c;
  }

 private:
  static constexpr int kBits = 12;
  struct Slot {
    std::uint64_t key;
    std::uint32_t run;
    double s, c;
  };
  static_assert((1 << kBits) >= 4 * kMaxPiles);
  // Run 0 is no run: the slots start with it.
  thread_local static inline std::array<Slot, size_t(1) << kBits> slots_{};
  thread_local static inline std::uint32_t lastRun_ = 0;
  std::uint32_t run_;
};

// Where entry (a, b), a <= b, of the upper triangle is kept among the 21.
constexpr size_t Entry(size_t a, size_t b) { return a * (11 - a) / 2 + b; }
static_assert(Entry(0, 5) == 5 && Entry(1, 1) == 6 && Entry(4, 5) == 19 && Entry(5, 5) == 20);

// The terms of the piles at[k], lane k, into their rows of `terms` (a pile
// may fill several lanes), kLanes entries of a row at a time when flushed.
class TermWriter {
 public:
  TermWriter(Workspace& w, const int* at) {
    for (int k = 0; k < kLanes; ++k) to_[k] = w.terms[size_t(at[k])].data();
    for (size_t e = 21; e < kTermSlots; ++e) entries_[e] = 0.0;
  }
  void operator()(size_t a, size_t b, Lanes term) { entries_[Entry(a, b)] = term; }
  void Flush() const {
    for (size_t e = 0; e < kTermSlots; e += kLanes) Lanes::TransposeStore(&entries_[e], to_, e);
  }

 private:
  double* to_[kLanes];
  Lanes entries_[kTermSlots];
};

// The springs of the piles at[k], lane k.
struct HeadSprings {
  Lanes K1, Kv, K1z, K2, K2z, K3, K3z, K4, Kt, K4z;
  explicit HeadSprings(const CalcResults& r, const int* at) {
    const PilesAt piles{at};
    K1 = piles.In(r.PileK1), Kv = piles.In(r.PileKv), K1z = piles.In(r.PileK1z);
    K2 = piles.In(r.PileK2), K2z = piles.In(r.PileK2z), K3 = piles.In(r.PileK3);
    K3z = piles.In(r.PileK3z), K4 = piles.In(r.PileK4), Kt = piles.In(r.PileKt);
    K4z = piles.In(r.PileK4z);
  }
};

// The terms of vertical piles with plan angle 0, whose member axes are the
// global ones: what is left of the general sum below once the zero
// components of the axes are taken out.
void VerticalTerms(const Workspace& w, const HeadSprings& k, const int* at, TermWriter& put) {
  const auto [K1, Kv, K1z, K2, K2z, K3, K3z, K4, Kt, K4z] = k;
  const PilesAt piles{at};
  const Lanes X = piles.Of(w.pile.X), Y = piles.Of(w.pile.Y), Z = piles.Of(w.pile.Z);
  const Lanes zero = 0.0;
  put(0, 0, K1);
  put(0, 1, zero);
  put(0, 2, zero);
  put(0, 3, zero);
  put(0, 4, K1 * Z);
  put(0, 5, -K1 * Y - K2);
  put(1, 1, Kv);
  put(1, 2, zero);
  put(1, 3, -Kv * Z);
  put(1, 4, zero);
  put(1, 5, Kv * X);
  put(2, 2, K1z);
  put(2, 3, K1z * Y + K2z);
  put(2, 4, -K1z * X);
  put(2, 5, zero);
  put(3, 3, Kv * Z * Z + K1z * Y * Y + K4z + K2z * Y + K3z * Y);
  put(3, 4, -K1z * X * Y - K3z * X);
  put(3, 5, -Kv * Z * X);
  put(4, 4, K1 * Z * Z + K1z * X * X + Kt);
  put(4, 5, -K1 * Z * Y - K2 * Z);
  put(5, 5, K1 * Y * Y + Kv * X * X + K4 + K2 * Y + K3 * Y);
}

// The terms of inclined piles: T^T k T with T = [[R, -R S], [0, R]], R the
// rotation from global to member axes, S = [r]x, and the member stiffness k.
// A head displacement along member axis u moves the cap by (u, r x u) in
// (force, moment) terms, a rotation about u by (0, u); with these six
// vectors t and q the product is
//   K1 tx tx^T + Kv ty ty^T + K1z tz tz^T + K4z qx qx^T + Kt qy qy^T + K4 qz qz^T
//   - K2 tx qz^T - K3 qz tx^T + K2z tz qx^T + K3z qx tz^T.
void InclinedTerms(const Workspace& w, const HeadSprings& k, const int* at, TermWriter& put) {
  const auto [K1, Kv, K1z, K2, K2z, K3, K3z, K4, Kt, K4z] = k;
  const PilesAt piles{at};
  const Lanes sphi = piles.Of(w.axes.sphi), cphi = piles.Of(w.axes.cphi);
  const Lanes spsi = piles.Of(w.axes.spsi), cpsi = piles.Of(w.axes.cpsi);

  // Rows of R.
  const Vec3 xm{cphi * cpsi, -sphi, cphi * spsi};
  const Vec3 ym{sphi * cpsi, cphi, sphi * spsi};
  const Vec3 zm{-spsi, 0.0, cpsi};
  const Vec3 pos{piles.Of(w.pile.X), piles.Of(w.pile.Y), piles.Of(w.pile.Z)};
  const Vec3 wx = Cross(pos, xm), wy = Cross(pos, ym), wz = Cross(pos, zm);
  // The member axes and lever arms scaled by their springs, each made where
  // the block below needs it: fewer values held at once.
  auto scaled = [](Lanes s, const Vec3& v) { return Vec3{s * v[0], s * v[1], s * v[2]}; };
  const Vec3 fx = scaled(K1, xm), fy = scaled(Kv, ym), fz = scaled(K1z, zm);
#pragma GCC unroll 3
  for (size_t i = 0; i < 3; ++i)
#pragma GCC unroll 3
    for (size_t j = i; j < 3; ++j) put(i, j, fx[i] * xm[j] + fy[i] * ym[j] + fz[i] * zm[j]);
  const Vec3 k2z = scaled(K2, zm), k2x = scaled(K2z, xm);
#pragma GCC unroll 3
  for (size_t i = 0; i < 3; ++i)
#pragma GCC unroll 3
    for (size_t j = 0; j < 3; ++j)
      put(i, j + 3, fx[i] * wx[j] + fy[i] * wy[j] + fz[i] * wz[j] - xm[i] * k2z[j] + zm[i] * k2x[j]);
  const Vec3 mx = scaled(K1, wx), my = scaled(Kv, wy), mz = scaled(K1z, wz);
  const Vec3 rx = scaled(K4z, xm), ry = scaled(Kt, ym), rz = scaled(K4, zm);
  const Vec3 k3z = scaled(K3, zm), k3x = scaled(K3z, xm);
#pragma GCC unroll 3
  for (size_t i = 0; i < 3; ++i)
#pragma GCC unroll 3
    for (size_t j = i; j < 3; ++j)
      put(i + 3, j + 3, mx[i] * wx[j] + my[i] * wy[j] + mz[i] * wz[j] + rx[i] * xm[j] + ry[i] * ym[j] +
                            rz[i] * zm[j] - wx[i] * k2z[j] - k3z[i] * wx[j] + wz[i] * k2x[j] + k3x[i] * wz[j]);
}

// A pivot at or below this fraction of its row's assembled diagonal entry is
// rounding noise of a singular group, not stiffness. Regular groups keep
// ratios of 0.07 and more; singular ones fall to about 1e-16.
constexpr double kPivotNoise = 1e-10;

}  // namespace

int AssembleGroupStiffness(Workspace& w, const CalcResults& r, Matrix67& m) {
  // The piles of each kind, vertical and inclined, in pile order.
  std::array<std::array<int, kMaxPiles + kLanes>, 2> ofKind;
  std::array<int, 2> count{0, 0};
  SinCosTable sinCos;
  for (int i = 1; i <= w.n; ++i) {
    const double phi = w.pile.phi[size_t(i)], psi = w.pile.psi[size_t(i)];
    Axes& ax = w.axes;
    sinCos(phi, ax.sphi[size_t(i)], ax.cphi[size_t(i)]);
    sinCos(psi, ax.spsi[size_t(i)], ax.cpsi[size_t(i)]);
    const size_t inclined = !(phi == 0.0 && psi == 0.0);
    ofKind[inclined][size_t(count[inclined]++)] = i;
  }

  // Every pile's terms, kLanes piles of a kind at a time; the last pile of
  // a kind fills the lanes left over.
  for (size_t kind = 0; kind < 2; ++kind) {
    std::array<int, kMaxPiles + kLanes>& piles = ofKind[kind];
    if (count[kind] == 0) continue;
    for (int k = 1; k < kLanes; ++k) piles[size_t(count[kind] - 1 + k)] = piles[size_t(count[kind] - 1)];
    for (int k = 0; k < count[kind]; k += kLanes) {
      const int* at = &piles[size_t(k)];
      const HeadSprings springs(r, at);
      TermWriter put(w, at);
      if (kind == 1)
        InclinedTerms(w, springs, at, put);
      else
        VerticalTerms(w, springs, at, put);
      put.Flush();
    }
  }

  // The sums of the terms in pile order, kLanes entries at a time.
  std::array<Lanes, kTermSlots / kLanes> sums;
  sums.fill(0.0);
  for (int i = 1; i <= w.n; ++i) {
    const double* t = w.terms[size_t(i)].data();
#pragma GCC unroll 12
    for (size_t e = 0; e < sums.size(); ++e) sums[e] = sums[e] + Lanes::Load(t + kLanes * e);
  }
  std::array<double, kTermSlots> acc;
  for (size_t e = 0; e < sums.size(); ++e) sums[e].Store(&acc[kLanes * e]);

  // Sums and products only: an overflow anywhere leaves a non-finite entry.
  for (size_t a = 0; a < 6; ++a) {
    for (size_t b = a; b < 6; ++b) {
      const double v = acc[Entry(a, b)];
      if (!std::isfinite(v)) return calcerr::kOverflow;
      m[a][b] = m[b][a] = v;
    }
    m[a][6] = w.c.loads[a];
  }
  return calcerr::kOk;
}

#if HASORIN_LANES == 2  // the solve is scalar: one build
bool SolveGroupStiffness(Matrix67 a, std::array<double, 6>& x) {
  std::array<double, 6> diagonal;
  for (size_t i = 0; i < 6; ++i) diagonal[i] = a[i][i];
  for (size_t i = 0; i < 6; ++i) {
    const double pivot = a[i][i];
    if (!std::isfinite(pivot) || pivot == 0.0 ||
        std::fabs(pivot) <= kPivotNoise * std::fabs(diagonal[i]))
      return false;
    for (size_t j = i; j < 7; ++j) a[i][j] /= pivot;
    for (size_t k = 0; k < 6; ++k) {
      if (k == i) continue;
      const double f = a[k][i];
      for (size_t j = i; j < 7; ++j) a[k][j] -= f * a[i][j];
    }
  }
  // An overflow in any entry reaches the solution column (inf * 0 is NaN).
  for (size_t i = 0; i < 6; ++i) {
    if (!std::isfinite(a[i][6])) return false;
    x[i] = a[i][6];
  }
  return true;
}
#endif

}  // namespace HASORIN_LANES_NS
}  // namespace hasorin::engine::detail
