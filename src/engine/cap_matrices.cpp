// The cap's stiffness and flexibility, and how close the group is to a
// mechanism: the condition number of the stiffness scaled by its diagonal and
// the cap motion the group resists least.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis.h"
#include "analysis_inputs.h"

namespace hasorin::engine {
namespace {

using Vec6 = std::array<double, 6>;

// Inverse of a symmetric positive definite matrix by Cholesky; false when it
// is not positive definite.
bool InverseSpd(const Matrix6& a, Matrix6& inv) {
  Matrix6 l{};
  for (size_t i = 0; i < 6; ++i) {
    for (size_t j = 0; j <= i; ++j) {
      double sum = a[i][j];
      for (size_t k = 0; k < j; ++k) sum -= l[i][k] * l[j][k];
      if (i == j) {
        if (!(sum > 0.0) || !std::isfinite(sum)) return false;
        l[i][i] = std::sqrt(sum);
      } else {
        l[i][j] = sum / l[j][j];
      }
    }
  }
  // Columns of the inverse: L L^T x = e_c.
  for (size_t c = 0; c < 6; ++c) {
    Vec6 y{};
    for (size_t i = 0; i < 6; ++i) {
      double sum = i == c ? 1.0 : 0.0;
      for (size_t k = 0; k < i; ++k) sum -= l[i][k] * y[k];
      y[i] = sum / l[i][i];
    }
    for (size_t i = 6; i-- > 0;) {
      double sum = y[i];
      for (size_t k = i + 1; k < 6; ++k) sum -= l[k][i] * inv[k][c];
      inv[i][c] = sum / l[i][i];
    }
  }
  return true;
}

double Norm1(const Matrix6& a) {
  double best = 0;
  for (size_t j = 0; j < 6; ++j) {
    double sum = 0;
    for (size_t i = 0; i < 6; ++i) sum += std::fabs(a[i][j]);
    best = std::max(best, sum);
  }
  return best;
}

// The eigenvector of the smallest eigenvalue of a symmetric matrix (cyclic
// Jacobi rotations: plain, exact to rounding and cheap at 6 x 6).
Vec6 SmallestEigenvector(Matrix6 a) {
  Matrix6 v{};
  for (size_t i = 0; i < 6; ++i) v[i][i] = 1;
  for (int sweep = 0; sweep < 50; ++sweep) {
    double off = 0, scale = 0;
    for (size_t i = 0; i < 6; ++i)
      for (size_t j = 0; j < 6; ++j) (i == j ? scale : off) += a[i][j] * a[i][j];
    if (off <= 1e-30 * scale) break;
    for (size_t p = 0; p < 5; ++p) {
      for (size_t q = p + 1; q < 6; ++q) {
        if (a[p][q] == 0.0) continue;
        const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
        const double t = (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1 / std::sqrt(t * t + 1), s = t * c;
        for (size_t k = 0; k < 6; ++k) {
          const double akp = a[k][p], akq = a[k][q];
          a[k][p] = c * akp - s * akq;
          a[k][q] = s * akp + c * akq;
        }
        for (size_t k = 0; k < 6; ++k) {
          const double apk = a[p][k], aqk = a[q][k];
          a[p][k] = c * apk - s * aqk;
          a[q][k] = s * apk + c * aqk;
        }
        for (size_t k = 0; k < 6; ++k) {
          const double vkp = v[k][p], vkq = v[k][q];
          v[k][p] = c * vkp - s * vkq;
          v[k][q] = s * vkp + c * vkq;
        }
      }
    }
  }
  size_t m = 0;
  for (size_t i = 1; i < 6; ++i)
    if (a[i][i] < a[m][m]) m = i;
  Vec6 x;
  for (size_t i = 0; i < 6; ++i) x[i] = v[i][m];
  return x;
}

size_t LargestComponent(const Vec6& x) {
  size_t m = 0;
  for (size_t i = 1; i < 6; ++i)
    if (std::fabs(x[i]) > std::fabs(x[m])) m = i;
  return m;
}

}  // namespace


namespace detail {
void Condition(CapMatrices& cap) {
  const Matrix6& k = cap.stiffness;
  cap.condition = std::numeric_limits<double>::infinity();
  // A direction without any stiffness of its own is the mechanism itself.
  for (size_t i = 0; i < 6; ++i) {
    if (!(k[i][i] > 0.0)) {
      cap.weakMode = {};
      cap.weakMode[i] = 1;
      cap.weakDirection = int(i);
      return;
    }
  }
  Vec6 d;
  for (size_t i = 0; i < 6; ++i) d[i] = 1 / std::sqrt(k[i][i]);
  Matrix6 s;
  for (size_t i = 0; i < 6; ++i)
    for (size_t j = 0; j < 6; ++j) s[i][j] = d[i] * k[i][j] * d[j];
  cap.weakMode = SmallestEigenvector(s);
  cap.weakDirection = int(LargestComponent(cap.weakMode));
  Matrix6 sInv;
  if (!InverseSpd(s, sInv)) return;
  cap.condition = Norm1(s) * Norm1(sInv);
  if (!std::isfinite(cap.condition)) cap.condition = std::numeric_limits<double>::infinity();
  // The flexibility through the scaled inverse keeps its accuracy in units
  // that differ by orders of magnitude.
  if (cap.solved)
    for (size_t i = 0; i < 6; ++i)
      for (size_t j = 0; j < 6; ++j) cap.flexibility[i][j] = d[i] * sInv[i][j] * d[j];
}

}  // namespace detail

namespace detail {

bool SpringsComplete(const CalcResults& r) {
  return r.PileK4z.computed == r.PileCount && r.PileKt.computed == r.PileCount;
}

CapMatrices CapOf(const Project& project, const CalcResults& r) {
  CapMatrices cap;
  // The matrix the solve was given, when the run kept it.
  if (r.assembled) {
    cap.stiffness = r.Stiffness;
  } else {
    thread_local AnalysisInputs in;  // large: kept off the stack
    ReadAnalysisInputs(project, r.PileCount, in);
    cap.stiffness = AssembleCap(in, r);
  }
  for (const auto& row : cap.stiffness)
    for (double v : row)
      if (!std::isfinite(v)) return cap;
  cap.assembled = true;
  cap.solved = r.solved;
  Condition(cap);
  return cap;
}

}  // namespace detail

CapMatrices CapMatricesOf(const Project& project, const CalcResults& r) {
  if (!detail::SpringsComplete(r)) return {};
  return detail::CapOf(project, r);
}

std::string MotionName(int component) {
  static const char* const kNames[6] = {"x方向の移動",   "y方向の移動",   "z方向の移動",
                                        "x軸回りの回転", "y軸回りの回転", "z軸回りの回転"};
  return kNames[std::clamp(component, 0, 5)];
}

std::string WeakMotionText(const CapMatrices& cap) {
  // Every component at least half the largest, largest first.
  std::array<int, 6> order{0, 1, 2, 3, 4, 5};
  const auto& v = cap.weakMode;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return std::fabs(v[size_t(a)]) > std::fabs(v[size_t(b)]); });
  std::string text = MotionName(cap.weakDirection);
  for (int k : order)
    if (k != cap.weakDirection && std::fabs(v[size_t(k)]) >= 0.5 * std::fabs(v[size_t(cap.weakDirection)]))
      text += "と" + MotionName(k);
  return text;
}

std::string ConditionWarningText(const CapMatrices& cap) {
  if (!cap.Warning()) return "";
  std::string figure = "∞";
  if (std::isfinite(cap.condition)) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1E", cap.condition);
    figure = text;
  }
  return "杭群の剛性マトリクスの条件数が " + figure +
         " と大きく，杭群は不安定構造に近い状態です（弱い方向：" + WeakMotionText(cap) +
         "）。計算結果は信頼できません。";
}

}  // namespace hasorin::engine
