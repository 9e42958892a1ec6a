// The stage after the run: its inputs read back from the project, the cap
// matrices, every pile's two planes and its ground moment, and the profiles.
#include <algorithm>
#include <cmath>

#include "analysis_inputs.h"

namespace hasorin::engine {
namespace detail {
namespace {

// A run that reached this stage read every value it needs as a number.
double Number(const ProjectValue& v) {
  if (v.isReal()) return v.real();
  if (v.isInteger()) return v.integer();
  return 0.0;
}

double Radians(double degrees) { return degrees == 0.0 ? 0.0 : degrees * kPi / 180.0; }

AnalysisPile ReadPile(const Project& p, int i) {
  auto col = [&](int c) { return Number(p.Piles(c, i)); };
  return {col(9), col(10), col(11), Radians(col(12)), Radians(col(13)),
          col(5) / 1e8, col(6) / 1e6, col(7), col(8)};
}

void ReadConditions(const Project& p, AnalysisInputs& in) {
  in.Ep = Number(p.Conditions(2)) * 1000.0;
  in.hingedHead = std::nearbyint(Number(p.Conditions(4))) != 0.0;
  in.tip = int(std::nearbyint(Number(p.Conditions(5))));
  in.alpha = Number(p.Conditions(7));
}

// Allowable bending stresses of SKK400 and SKK490, N/mm2.
constexpr double kBendingAllow[2] = {140, 185};

PileBeam BeamOf(const AnalysisInputs& in, const AnalysisPile& p, double beta) {
  PileBeam b;
  b.EI = in.Ep * p.I;
  b.beta = beta;
  b.h = p.h;
  b.l = p.L - p.h;
  // The choice of the springs: strictly below, as they were computed.
  b.semiInfinite = kPi / beta < b.l;
  b.hingedHead = in.hingedHead;
  b.tip = in.tip;
  return b;
}

PilePlanes Planes(const AnalysisInputs& in, const AnalysisPile& p, const CalcResults& r, int i) {
  const PileBeam b = BeamOf(in, p, r.PileBeta[i]);
  PilePlanes planes;
  // Member x–y plane: w = ux, dw/ds = -θz; member y–z plane: w = uz, dw/ds = θx.
  const PlaneSolution::Basis basis = PlaneSolution::BasisOf(b);
  planes.x = PlaneSolution(b, basis, r.MemberDispX[i], -r.MemberRotZ[i]);
  planes.z = PlaneSolution(b, basis, r.MemberDispZ[i], r.MemberRotX[i]);
  planes.ok = basis.ok;
  return planes;
}

GroundMoment GroundOf(const AnalysisInputs& in, const AnalysisPile& p, const CalcResults& r,
                      const PilePlanes& planes, int i) {
  const MomentPeak peak = GroundMomentOf(planes.x, planes.z);
  GroundMoment g;
  if (!peak.found) return g;
  g.found = true;
  g.M = peak.M;
  g.depth = peak.depth;
  const double sb = peak.M / p.Zs / 1000;  // kN/m2 to N/mm2
  g.sigma = r.SigmaC[i] + sb;
  for (int k = kSKK400; k <= kSKK490; ++k)
    g.ratio[size_t(k)] = r.SigmaC[i] / r.SigmaCaAllow[k][i] + sb / (in.alpha * kBendingAllow[k]);
  return g;
}

bool ForcesComplete(const CalcResults& r) {
  const int n = r.PileCount;
  return r.solved && r.MemberRotZ.computed == n && r.SigmaC.computed == n &&
         r.SigmaCaAllow[kSKK490].computed == n;
}

}  // namespace

void ReadAnalysisInputs(const Project& project, int n, AnalysisInputs& in) {
  ReadConditions(project, in);
  in.n = n;
  for (int i = 1; i <= n; ++i) in.pile[size_t(i)] = ReadPile(project, i);
}

Matrix6 AssembleCap(const AnalysisInputs& in, const CalcResults& r) {
  Matrix6 k{};
  for (int i = 1; i <= in.n; ++i) {
    const AnalysisPile& p = in.pile[size_t(i)];
    const double sphi = std::sin(p.phi), cphi = std::cos(p.phi);
    const double spsi = std::sin(p.psi), cpsi = std::cos(p.psi);
    const double axes[3][3] = {{cphi * cpsi, -sphi, cphi * spsi},
                               {sphi * cpsi, cphi, sphi * spsi},
                               {-spsi, 0.0, cpsi}};
    // v[m]: how member motion m (ux, uy, uz, θx, θy, θz) reads the cap
    // motion: a head displacement along axis e is e·δ + (r × e)·θ.
    double v[6][6] = {};
    for (int a = 0; a < 3; ++a) {
      const double* e = axes[a];
      v[a][0] = e[0], v[a][1] = e[1], v[a][2] = e[2];
      v[a][3] = p.Y * e[2] - p.Z * e[1];
      v[a][4] = p.Z * e[0] - p.X * e[2];
      v[a][5] = p.X * e[1] - p.Y * e[0];
      v[a + 3][3] = e[0], v[a + 3][4] = e[1], v[a + 3][5] = e[2];
    }
    // The member stiffness times v, row by row.
    double w[6][6];
    for (int c = 0; c < 6; ++c) {
      w[0][c] = r.PileK1[i] * v[0][c] - r.PileK2[i] * v[5][c];
      w[1][c] = r.PileKv[i] * v[1][c];
      w[2][c] = r.PileK1z[i] * v[2][c] + r.PileK2z[i] * v[3][c];
      w[3][c] = r.PileK3z[i] * v[2][c] + r.PileK4z[i] * v[3][c];
      w[4][c] = r.PileKt[i] * v[4][c];
      w[5][c] = -r.PileK3[i] * v[0][c] + r.PileK4[i] * v[5][c];
    }
    // Rotations (m >= 3) read no cap displacement: columns a < 3 end at m = 2.
    for (int a = 0; a < 6; ++a) {
      const int rows = a < 3 ? 3 : 6;
      for (int b = a; b < 6; ++b) {
        double sum = 0;
        for (int m = 0; m < rows; ++m) sum += v[m][a] * w[m][b];
        k[size_t(a)][size_t(b)] += sum;
      }
    }
  }
  for (size_t a = 0; a < 6; ++a)
    for (size_t b = 0; b < a; ++b) k[a][b] = k[b][a];
  return k;
}

}  // namespace detail

void AnalyseGroup(const Project& project, const CalcResults& r, GroupAnalysis& out) {
  using namespace detail;
  out.cap = CapMatrices{};
  out.piles = 0;
  if (!SpringsComplete(r)) return;
  const int n = r.PileCount;
  thread_local AnalysisInputs in;  // large: kept off the stack
  ReadAnalysisInputs(project, n, in);
  out.cap = CapOf(in, r);
  if (!out.cap.assembled) return;
  if (!ForcesComplete(r)) return;
  for (int i = 1; i <= n; ++i) {
    const AnalysisPile& p = in.pile[size_t(i)];
    out.ground[size_t(i)] = GroundOf(in, p, r, Planes(in, p, r, i), i);
  }
  out.piles = n;
}

PilePlanes PlanesOf(const Project& project, const CalcResults& r, int pile) {
  using namespace detail;
  if (pile < 1 || pile > r.PileCount || !ForcesComplete(r)) return {};
  AnalysisInputs in;
  ReadConditions(project, in);
  return Planes(in, ReadPile(project, pile), r, pile);
}

PileProfile ProfileOf(const Project& project, const CalcResults& r, int pile, int points) {
  using namespace detail;
  PileProfile profile;
  if (pile < 1 || pile > r.PileCount || !ForcesComplete(r)) return profile;
  AnalysisInputs in;
  ReadConditions(project, in);
  const AnalysisPile p = ReadPile(project, pile);
  const PilePlanes planes = Planes(in, p, r, pile);
  profile.D = Number(project.Piles(1, pile));
  profile.h = p.h;
  profile.L = p.L;
  profile.beam = planes.x.beam();
  profile.ground = GroundOf(in, p, r, planes, pile);

  auto section = [&](double s) {
    BeamState a, b;
    PlaneSolution::At(planes.x, planes.z, s, a, b);
    ProfilePoint q;
    q.s = s;
    q.ux = a.w, q.thetaZ = -a.slope, q.Mz = -a.M, q.Px = a.V;
    q.uz = b.w, q.thetaX = b.slope, q.Mx = b.M, q.Pz = b.V;
    q.M = std::hypot(a.M, b.M);
    return q;
  };
  const int n = std::max(points, 2);
  profile.points.reserve(size_t(n) + 1);
  for (int k = 0; k < n; ++k) profile.points.push_back(section(k == n - 1 ? p.L : p.L * k / (n - 1)));
  if (profile.ground.found) {
    ProfilePoint peak = section(p.h + profile.ground.depth);
    peak.peak = true;
    const auto at = std::lower_bound(profile.points.begin(), profile.points.end(), peak.s,
                                     [](const ProfilePoint& q, double s) { return q.s < s; });
    profile.points.insert(at, peak);
  }
  return profile;
}

}  // namespace hasorin::engine
