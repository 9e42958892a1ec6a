// Group stiffness of the rigid cap at the origin and the solve for its
// three displacements and three rotations.
#include <algorithm>
#include <cmath>

#include "stages.h"

namespace hasorin::engine::detail {
namespace {

using Vec3 = std::array<Lanes, 3>;

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// sin and cos of an angle; an angle of 0 (a vertical or unturned pile) or the
// angle of the pile before needs no library call.
class SinCos {
 public:
  void operator()(double angle, double& s, double& c) {
    if (angle == 0.0) {
      s = 0.0;
      c = 1.0;
      return;
    }
    if (!SameBits(angle, angle_)) {
      angle_ = angle;
      sin_ = std::sin(angle);
      cos_ = std::cos(angle);
    }
    s = sin_;
    c = cos_;
  }

 private:
  double angle_ = 0.0, sin_ = 0.0, cos_ = 1.0;
};

using Accumulator = std::array<std::array<double, 6>, 6>;

// The member springs of one pile head.
struct HeadSprings {
  double K1, Kv, K1z, K2, K2z, K3, K3z, K4, Kt, K4z;
};

// The terms of a vertical pile with plan angle 0, whose member axes are the
// global ones: what is left of the general sum below once the zero
// components of the axes are taken out.
void AddVerticalPile(Accumulator& acc, const WorkPile& p, const HeadSprings& k) {
  const auto [K1, Kv, K1z, K2, K2z, K3, K3z, K4, Kt, K4z] = k;
  const double X = p.X, Y = p.Y, Z = p.Z;
  acc[0][0] += K1;
  acc[1][1] += Kv;
  acc[2][2] += K1z;
  acc[0][4] += K1 * Z;
  acc[0][5] += -K1 * Y - K2;
  acc[1][3] += -Kv * Z;
  acc[1][5] += Kv * X;
  acc[2][3] += K1z * Y + K2z;
  acc[2][4] += -K1z * X;
  acc[3][3] += Kv * Z * Z + K1z * Y * Y + K4z + K2z * Y + K3z * Y;
  acc[3][4] += -K1z * X * Y - K3z * X;
  acc[3][5] += -Kv * Z * X;
  acc[4][4] += K1 * Z * Z + K1z * X * X + Kt;
  acc[4][5] += -K1 * Z * Y - K2 * Z;
  acc[5][5] += K1 * Y * Y + Kv * X * X + K4 + K2 * Y + K3 * Y;
}

// A pivot at or below this fraction of its row's assembled diagonal entry is
// rounding noise of a singular group, not stiffness. Regular groups keep
// ratios of 0.07 and more; singular ones fall to about 1e-16.
constexpr double kPivotNoise = 1e-10;

}  // namespace

int AssembleGroupStiffness(Workspace& w, const CalcResults& r, Matrix67& m) {
  SinCos phiSinCos, psiSinCos;
  for (int i = 1; i <= w.n; ++i) {
    const WorkPile& p = w.pile[size_t(i)];
    Axes& ax = w.axes[size_t(i)];
    phiSinCos(p.phi, ax.sphi, ax.cphi);
    psiSinCos(p.psi, ax.spsi, ax.cpsi);
  }

  // The 21 entries of the upper triangle, summed pile by pile in pile order.
  Accumulator acc{};
  auto vertical = [&w](int i) { return w.pile[size_t(i)].phi == 0.0 && w.pile[size_t(i)].psi == 0.0; };
  for (int i = 1; i <= w.n; ++i) {
    if (vertical(i)) {
      const HeadSprings k{r.PileK1[i], r.PileKv[i], r.PileK1z[i], r.PileK2[i], r.PileK2z[i],
                          r.PileK3[i], r.PileK3z[i], r.PileK4[i], r.PileKt[i], r.PileK4z[i]};
      AddVerticalPile(acc, w.pile[size_t(i)], k);
      continue;
    }
    // Inclined piles two at a time; one without a partner fills both lanes.
    const int j = i < w.n && !vertical(i + 1) ? i + 1 : i;
    auto both = [i, j](const PileTable& t) { return Lanes(t[i], t[j]); };
    const Lanes K1 = both(r.PileK1), Kv = both(r.PileKv), K1z = both(r.PileK1z);
    const Lanes K2 = both(r.PileK2), K2z = both(r.PileK2z), K3 = both(r.PileK3);
    const Lanes K3z = both(r.PileK3z), K4 = both(r.PileK4), Kt = both(r.PileKt);
    const Lanes K4z = both(r.PileK4z);
    const WorkPile &p = w.pile[size_t(i)], &q = w.pile[size_t(j)];
    const Axes &ap = w.axes[size_t(i)], &aq = w.axes[size_t(j)];
    const Lanes sphi(ap.sphi, aq.sphi), cphi(ap.cphi, aq.cphi);
    const Lanes spsi(ap.spsi, aq.spsi), cpsi(ap.cpsi, aq.cpsi);

    // Rows of the rotation R from global to member axes.
    const Vec3 xm{cphi * cpsi, -sphi, cphi * spsi};
    const Vec3 ym{sphi * cpsi, cphi, sphi * spsi};
    const Vec3 zm{-spsi, 0.0, cpsi};

    // T^T k T with T = [[R, -R S], [0, R]], S = [r]x, and the member
    // stiffness k. A head displacement along member axis u moves the cap by
    // (u, r x u) in (force, moment) terms, a rotation about u by (0, u); with
    // these six vectors t and q the product is
    //   K1 tx tx^T + Kv ty ty^T + K1z tz tz^T + K4z qx qx^T + Kt qy qy^T + K4 qz qz^T
    //   - K2 tx qz^T - K3 qz tx^T + K2z tz qx^T + K3z qx tz^T.
    const Vec3 pos{Lanes(p.X, q.X), Lanes(p.Y, q.Y), Lanes(p.Z, q.Z)};
    const Vec3 wx = Cross(pos, xm), wy = Cross(pos, ym), wz = Cross(pos, zm);
    // The member axes and lever arms scaled by their springs, each made
    // where the block below needs it: fewer values held at once.
    auto scaled = [](Lanes k, const Vec3& v) { return Vec3{k * v[0], k * v[1], k * v[2]}; };
    // Pile i's term, then pile j's, as one pile after the other.
    auto add = [i, j](double& sum, Lanes term) {
      sum += term.lane0();
      if (j != i) sum += term.lane1();
    };
    const Vec3 fx = scaled(K1, xm), fy = scaled(Kv, ym), fz = scaled(K1z, zm);
#pragma GCC unroll 3
    for (size_t a = 0; a < 3; ++a)
#pragma GCC unroll 3
      for (size_t b = a; b < 3; ++b) add(acc[a][b], fx[a] * xm[b] + fy[a] * ym[b] + fz[a] * zm[b]);
    const Vec3 k2z = scaled(K2, zm), k2x = scaled(K2z, xm);
#pragma GCC unroll 3
    for (size_t a = 0; a < 3; ++a)
#pragma GCC unroll 3
      for (size_t b = 0; b < 3; ++b)
        add(acc[a][b + 3], fx[a] * wx[b] + fy[a] * wy[b] + fz[a] * wz[b] - xm[a] * k2z[b] +
                               zm[a] * k2x[b]);
    const Vec3 mx = scaled(K1, wx), my = scaled(Kv, wy), mz = scaled(K1z, wz);
    const Vec3 rx = scaled(K4z, xm), ry = scaled(Kt, ym), rz = scaled(K4, zm);
    const Vec3 k3z = scaled(K3, zm), k3x = scaled(K3z, xm);
#pragma GCC unroll 3
    for (size_t a = 0; a < 3; ++a)
#pragma GCC unroll 3
      for (size_t b = a; b < 3; ++b)
        add(acc[a + 3][b + 3], mx[a] * wx[b] + my[a] * wy[b] + mz[a] * wz[b] + rx[a] * xm[b] +
                                   ry[a] * ym[b] + rz[a] * zm[b] - wx[a] * k2z[b] -
                                   k3z[a] * wx[b] + wz[a] * k2x[b] + k3x[a] * wz[b]);
    i = j;
  }

  // Sums and products only: an overflow anywhere leaves a non-finite entry.
  for (size_t a = 0; a < 6; ++a) {
    for (size_t b = a; b < 6; ++b) {
      if (!std::isfinite(acc[a][b])) return calcerr::kOverflow;
      m[a][b] = m[b][a] = acc[a][b];
    }
    m[a][6] = w.c.loads[a];
  }
  return calcerr::kOk;
}

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

}  // namespace hasorin::engine::detail
