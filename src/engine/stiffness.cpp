// Group stiffness of the rigid cap at the origin and the solve for its
// three displacements and three rotations.
#include <cmath>

#include "stages.h"

namespace hasorin::engine::detail {
namespace {

using Vec3 = std::array<double, 3>;
using Mat3 = std::array<Vec3, 3>;

// a * u v^T + b * v u^T
Mat3 Dyads(double a, const Vec3& u, const Vec3& v, double b) {
  Mat3 m;
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) m[i][j] = a * u[i] * v[j] + b * v[i] * u[j];
  return m;
}

// a * u u^T + b * v v^T + c * w w^T
Mat3 Diagonal(double a, const Vec3& u, double b, const Vec3& v, double c, const Vec3& w) {
  Mat3 m;
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) m[i][j] = a * u[i] * u[j] + b * v[i] * v[j] + c * w[i] * w[j];
  return m;
}

Mat3 Mul(const Mat3& a, const Mat3& b) {
  Mat3 m;
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) m[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
  return m;
}

// A pivot at or below this fraction of its row's assembled diagonal entry is
// rounding noise of a singular group, not stiffness. Regular groups keep
// ratios of 0.07 and more; singular ones fall to about 1e-16.
constexpr double kPivotNoise = 1e-10;

}  // namespace

int AssembleGroupStiffness(Workspace& w, const CalcResults& r, Matrix67& m) {
  // The 21 entries of the upper triangle.
  std::array<std::array<double, 6>, 6> acc{};
  for (int i = 1; i <= w.n; ++i) {
    const WorkPile& p = w.pile[size_t(i)];
    Axes& ax = w.axes[size_t(i)];
    ax = {std::sin(p.phi), std::cos(p.phi), std::sin(p.psi), std::cos(p.psi)};
    // Rows of the rotation R from global to member axes.
    const Vec3 xm{ax.cphi * ax.cpsi, -ax.sphi, ax.cphi * ax.spsi};
    const Vec3 ym{ax.sphi * ax.cpsi, ax.cphi, ax.sphi * ax.spsi};
    const Vec3 zm{-ax.spsi, 0.0, ax.cpsi};
    // [r]x, so that S v = r x v.
    const Mat3 S{{{0, -p.Z, p.Y}, {p.Z, 0, -p.X}, {-p.Y, p.X, 0}}};

    // With T = [[R, -R S], [0, R]] and the member stiffness k in blocks
    // [[Ktt, Ktr], [Krt, Krr]], T^T k T has the blocks
    //   G11 = R^T Ktt R, G12 = -G11 S + C, G22 = -S G11 S + S C - D S + E
    // where C = R^T Ktr R, D = R^T Krt R, E = R^T Krr R.
    const Mat3 G11 = Diagonal(r.PileK1[i], xm, r.PileKv[i], ym, r.PileK1z[i], zm);
    const Mat3 C = Dyads(-r.PileK2[i], xm, zm, r.PileK2z[i]);
    const Mat3 D = Dyads(r.PileK3z[i], xm, zm, -r.PileK3[i]);
    const Mat3 E = Diagonal(r.PileK4z[i], xm, r.PileKt[i], ym, r.PileK4[i], zm);
    const Mat3 G11S = Mul(G11, S);
    const Mat3 SG11S = Mul(S, G11S);
    const Mat3 SC = Mul(S, C);
    const Mat3 DS = Mul(D, S);
    for (size_t a = 0; a < 3; ++a) {
      for (size_t b = a; b < 3; ++b) {
        acc[a][b] += G11[a][b];
        acc[a + 3][b + 3] += -SG11S[a][b] + SC[a][b] - DS[a][b] + E[a][b];
      }
      for (size_t b = 0; b < 3; ++b) acc[a][b + 3] += -G11S[a][b] + C[a][b];
    }
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
