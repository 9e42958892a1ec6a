// Finite elements of a beam on a Winkler foundation: two degrees of freedom a
// node (deflection, slope), a banded matrix and its Cholesky factor, and the
// head stiffness by condensation onto the head's degrees of freedom.
#include "beam_reference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace hasorin::cli {
namespace {

constexpr int kBand = 3;  // half-bandwidth of two-dof Hermite elements

// A symmetric banded matrix: row i holds columns i..i+kBand.
class BandMatrix {
 public:
  explicit BandMatrix(int n) : n_(n), a_(size_t(n) * (kBand + 1), 0.0) {}
  int size() const { return n_; }
  double& at(int i, int j) { return a_[size_t(i) * (kBand + 1) + size_t(j - i)]; }  // j >= i
  double get(int i, int j) const {
    if (j < i) std::swap(i, j);
    if (j - i > kBand) return 0.0;
    return a_[size_t(i) * (kBand + 1) + size_t(j - i)];
  }
  void Add(int i, int j, double v) {
    if (j >= i) at(i, j) += v;
  }
  // Decouples dof i: its row and column become those of the identity.
  void Isolate(int i) {
    for (int j = std::max(0, i - kBand); j <= std::min(n_ - 1, i + kBand); ++j)
      if (j != i) at(std::min(i, j), std::max(i, j)) = 0.0;
    at(i, i) = 1.0;
  }
  // In place: the upper Cholesky factor U with A = U^T U.
  bool Factor() {
    for (int i = 0; i < n_; ++i) {
      double d = at(i, i);
      for (int k = std::max(0, i - kBand); k < i; ++k) d -= get(k, i) * get(k, i);
      if (!(d > 0.0)) return false;
      at(i, i) = std::sqrt(d);
      for (int j = i + 1; j <= std::min(n_ - 1, i + kBand); ++j) {
        double s = at(i, j);
        for (int k = std::max(0, j - kBand); k < i; ++k) s -= get(k, i) * get(k, j);
        at(i, j) = s / at(i, i);
      }
    }
    return true;
  }
  void Solve(std::vector<double>& b) const {
    for (int i = 0; i < n_; ++i) {
      double s = b[size_t(i)];
      for (int k = std::max(0, i - kBand); k < i; ++k) s -= get(k, i) * b[size_t(k)];
      b[size_t(i)] = s / get(i, i);
    }
    for (int i = n_ - 1; i >= 0; --i) {
      double s = b[size_t(i)];
      for (int k = i + 1; k <= std::min(n_ - 1, i + kBand); ++k) s -= get(i, k) * b[size_t(k)];
      b[size_t(i)] = s / get(i, i);
    }
  }

 private:
  int n_;
  std::vector<double> a_;
};

// One element of length L: bending stiffness plus, when embedded, the
// consistent foundation matrix of modulus k.
void AddElement(BandMatrix& m, int first, double L, double EI, double k) {
  const double b = EI / (L * L * L);
  const double kb[4][4] = {{12 * b, 6 * L * b, -12 * b, 6 * L * b},
                           {6 * L * b, 4 * L * L * b, -6 * L * b, 2 * L * L * b},
                           {-12 * b, -6 * L * b, 12 * b, -6 * L * b},
                           {6 * L * b, 2 * L * L * b, -6 * L * b, 4 * L * L * b}};
  const double f = k * L / 420;
  const double kf[4][4] = {{156 * f, 22 * L * f, 54 * f, -13 * L * f},
                           {22 * L * f, 4 * L * L * f, 13 * L * f, -3 * L * L * f},
                           {54 * f, 13 * L * f, 156 * f, -22 * L * f},
                           {-13 * L * f, -3 * L * L * f, -22 * L * f, 4 * L * L * f}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m.Add(first + i, first + j, kb[i][j] + kf[i][j]);
}

}  // namespace

HeadStiffness ReferenceHeadStiffness(const ReferencePile& p) {
  HeadStiffness out;
  const int nFree = p.h > 0 ? std::max(1, int(std::ceil(p.h / p.maxElement))) : 0;
  const int nSoil = std::max(1, int(std::ceil(p.l / p.maxElement)));
  const int nodes = nFree + nSoil + 1;
  BandMatrix k(2 * nodes);
  for (int e = 0; e < nFree; ++e) AddElement(k, 2 * e, p.h / nFree, p.EI, 0.0);
  for (int e = 0; e < nSoil; ++e) AddElement(k, 2 * (nFree + e), p.l / nSoil, p.EI, p.k);
  const BandMatrix full = k;

  // The head's deflection (and for a rigid head its slope) are prescribed;
  // the tip's by its condition.
  std::vector<int> head{0};
  if (!p.hingedHead) head.push_back(1);
  std::vector<int> fixed = head;
  const int tipW = 2 * (nodes - 1), tipSlope = tipW + 1;
  if (p.tip == 1) fixed.push_back(tipW);
  if (p.tip != 1 && p.tip != 2) fixed.insert(fixed.end(), {tipW, tipSlope});
  for (int d : fixed) k.Isolate(d);
  if (!k.Factor()) return out;

  // A unit motion of each head dof with the others held: the rest of the
  // pile follows, and the forces at the head are the stiffness.
  std::array<std::vector<double>, 2> x;
  for (size_t b = 0; b < head.size(); ++b) {
    std::vector<double> r(size_t(k.size()), 0.0);
    for (int i = 0; i < k.size(); ++i) r[size_t(i)] = -full.get(i, head[b]);
    for (int d : fixed) r[size_t(d)] = 0.0;
    k.Solve(r);
    r[size_t(head[b])] = 1.0;
    x[b] = std::move(r);
  }
  auto force = [&](int row, const std::vector<double>& u) {
    double s = 0;
    for (int j = std::max(0, row - kBand); j <= std::min(k.size() - 1, row + kBand); ++j)
      s += full.get(row, j) * u[size_t(j)];
    return s;
  };
  out.k11 = force(0, x[0]);
  if (!p.hingedHead) {
    out.k12 = force(0, x[1]);
    out.k22 = force(1, x[1]);
  }
  out.ok = std::isfinite(out.k11) && std::isfinite(out.k12) && std::isfinite(out.k22);
  return out;
}

}  // namespace hasorin::cli
