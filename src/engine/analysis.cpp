// The stage after the run: its inputs read back from the project, the cap
// matrices, every pile's two planes and its ground moment, and the profiles.
#include <algorithm>
#include <cmath>
#include <cstddef>

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

// The columns of a pile that its beam and stresses read: I cm4 and Zs cm3
// as the table holds them (their scales go into the products that use
// them), h and L m.
struct BeamPile {
  double I, Zs, h, L;
};

// cell(c) is column c (1-based) of one pile row.
template <class Cell>
BeamPile BeamPileOf(const Cell& cell) {
  return {Number(cell(5)), Number(cell(6)), Number(cell(7)), Number(cell(8))};
}

template <class Cell>
AnalysisPile PileOf(const Cell& cell) {
  auto col = [&](int c) { return Number(cell(c)); };
  const BeamPile b = BeamPileOf(cell);
  return {col(9), col(10), col(11), Radians(col(12)), Radians(col(13)), b.I, b.Zs, b.h, b.L};
}

AnalysisPile ReadPile(const Project& p, int i) {
  return PileOf([&](int c) -> const ProjectValue& { return p.Piles(c, i); });
}

// The table holds its rows one after another: a whole group is read through
// one checked access per row instead of one per cell.
bool RowsContiguous(const Project& p, int n) {
  if (n < 2) return false;
  const ProjectValue* first = &p.Piles(1, 1);
  return &p.Piles(kPileColumns, 1) == first + (kPileColumns - 1) && &p.Piles(1, 2) == first + kPileColumns &&
         &p.Piles(kPileColumns, n) == first + (std::ptrdiff_t(n) * kPileColumns - 1);
}

void ReadConditions(const Project& p, AnalysisConditions& in) {
  in.Ep = Number(p.Conditions(2)) * 1000.0;
  in.hingedHead = std::nearbyint(Number(p.Conditions(4))) != 0.0;
  in.tip = int(std::nearbyint(Number(p.Conditions(5))));
  in.alpha = Number(p.Conditions(7));
}

// Allowable bending stresses of SKK400 and SKK490, N/mm2.
constexpr double kBendingAllow[2] = {140, 185};

template <class Pile>
PileBeam BeamOf(const AnalysisConditions& in, const Pile& p, double beta) {
  PileBeam b;
  b.EI = in.Ep * 1e-8 * p.I;  // I cm4 to m4
  b.beta = beta;
  b.h = p.h;
  b.l = p.L - p.h;
  // The choice of the springs: strictly below, as they were computed. The
  // product beta l decides alone where it is clear of pi by far more than
  // the rounding; the quotient of the springs where it is not.
  const double bl = beta * b.l;
  const bool clear = beta > 0 && std::fabs(bl) < 1e300 && std::fabs(bl - kPi) > 1e-6 * kPi;
  b.semiInfinite = clear ? bl > kPi : kPi / beta < b.l;
  b.hingedHead = in.hingedHead;
  b.tip = in.tip;
  return b;
}

PilePlanes Planes(const AnalysisConditions& in, const AnalysisPile& p, const CalcResults& r, int i) {
  const PileBeam b = BeamOf(in, p, r.PileBeta[i]);
  PilePlanes planes;
  // Member x–y plane: w = ux, dw/ds = -θz; member y–z plane: w = uz, dw/ds = θx.
  const PlaneSolution::Basis basis = PlaneSolution::BasisOf(b);
  planes.x = PlaneSolution(b, basis, r.MemberDispX[i], -r.MemberRotZ[i]);
  planes.z = PlaneSolution(b, basis, r.MemberDispZ[i], r.MemberRotX[i]);
  planes.ok = basis.ok;
  return planes;
}

// 1 / (alpha fba) of SKK400 and SKK490, the same for every pile of a run.
struct BendingScale {
  double inverse[2];
  explicit BendingScale(const AnalysisConditions& in)
      : inverse{1 / (in.alpha * kBendingAllow[0]), 1 / (in.alpha * kBendingAllow[1])} {}
};

GroundMoment GroundOf(const BendingScale& scale, double Zs, const CalcResults& r, const MomentPeak& peak, int i) {
  GroundMoment g;
  if (!peak.found) return g;
  g.found = true;
  g.M = peak.M;
  g.depth = peak.depth;
  const double sb = peak.M * 1000 / Zs;  // Zs cm3; kN·m / cm3 to N/mm2
  g.sigma = r.SigmaC[i] + sb;
  for (int k = kSKK400; k <= kSKK490; ++k)
    g.ratio[size_t(k)] = r.SigmaC[i] / r.SigmaCaAllow[k][i] + sb * scale.inverse[k];
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
  if (!RowsContiguous(project, n)) {
    for (int i = 1; i <= n; ++i) in.pile[size_t(i)] = ReadPile(project, i);
    return;
  }
  const ProjectValue* row = &project.Piles(1, 1);
  for (int i = 1; i <= n; ++i, row += kPileColumns)
    in.pile[size_t(i)] = PileOf([row](int c) -> const ProjectValue& { return row[c - 1]; });
}

Matrix6 AssembleCap(const AnalysisInputs& in, const CalcResults& r) {
  // The upper triangle, row a from column a: 21 sums.
  double k[21] = {};
  for (int i = 1; i <= in.n; ++i) {
    const AnalysisPile& p = in.pile[size_t(i)];
    double sphi, cphi, spsi, cpsi;
    SinCos(p.phi, sphi, cphi);
    SinCos(p.psi, spsi, cpsi);
    // Row a: member motion a in cap coordinates.
    const double e[3][3] = {{cphi * cpsi, -sphi, cphi * spsi}, {sphi * cpsi, cphi, sphi * spsi}, {-spsi, 0.0, cpsi}};
    // v[m]: how member displacement m (ux, uy, uz) reads the cap motion, a
    // displacement along e being e·δ + (r × e)·θ; member rotation m reads e·θ
    // alone, e[m] in the last three columns.
    double v[3][6];
    for (int a = 0; a < 3; ++a) {
      const double* x = e[a];
      v[a][0] = x[0], v[a][1] = x[1], v[a][2] = x[2];
      v[a][3] = p.Y * x[2] - p.Z * x[1];
      v[a][4] = p.Z * x[0] - p.X * x[2];
      v[a][5] = p.X * x[1] - p.Y * x[0];
    }
    // The member stiffness times the motions, row by row (ux, uy, uz, θx,
    // θy, θz); rows of rotations are needed in the last three columns only.
    const double k1 = r.PileK1[i], k2 = r.PileK2[i], k3 = r.PileK3[i], k4 = r.PileK4[i];
    const double k1z = r.PileK1z[i], k2z = r.PileK2z[i], k3z = r.PileK3z[i], k4z = r.PileK4z[i];
    const double kv = r.PileKv[i], kt = r.PileKt[i];
    double w[3][6], wr[3][3];
    for (int c = 0; c < 3; ++c) {
      w[0][c] = k1 * v[0][c];
      w[1][c] = kv * v[1][c];
      w[2][c] = k1z * v[2][c];
    }
    for (int c = 3; c < 6; ++c) {
      const double ex = e[0][c - 3], ey = e[1][c - 3], ez = e[2][c - 3];
      w[0][c] = k1 * v[0][c] - k2 * ez;
      w[1][c] = kv * v[1][c];
      w[2][c] = k1z * v[2][c] + k2z * ex;
      wr[0][c - 3] = k3z * v[2][c] + k4z * ex;
      wr[1][c - 3] = kt * ey;
      wr[2][c - 3] = -k3 * v[0][c] + k4 * ez;
    }
    int at = 0;
    for (int a = 0; a < 3; ++a)
      for (int b = a; b < 6; ++b) k[at++] += v[0][a] * w[0][b] + v[1][a] * w[1][b] + v[2][a] * w[2][b];
    for (int a = 3; a < 6; ++a)
      for (int b = a; b < 6; ++b)
        k[at++] += v[0][a] * w[0][b] + v[1][a] * w[1][b] + v[2][a] * w[2][b] + e[0][a - 3] * wr[0][b - 3] +
                   e[1][a - 3] * wr[1][b - 3] + e[2][a - 3] * wr[2][b - 3];
  }
  Matrix6 m{};
  int at = 0;
  for (size_t a = 0; a < 6; ++a)
    for (size_t b = a; b < 6; ++b) m[a][b] = m[b][a] = k[at++];
  return m;
}

}  // namespace detail

void AnalyseGroup(const Project& project, const CalcResults& r, GroupAnalysis& out) {
  using namespace detail;
  out.cap = CapMatrices{};
  out.piles = 0;
  if (!SpringsComplete(r)) return;
  const int n = r.PileCount;
  out.cap = CapOf(project, r);
  if (!out.cap.assembled) return;
  if (!ForcesComplete(r)) return;
  AnalysisConditions in;
  ReadConditions(project, in);
  const BendingScale scale(in);
  // Four cells of each row: the rest of the table is not touched.
  const ProjectValue* rows = RowsContiguous(project, n) ? &project.Piles(1, 1) : nullptr;
  struct Group {
    std::array<PileBeam, kMaxPiles + 1> beam;
    std::array<Coefficients, kMaxPiles + 1> x, z;
    std::array<MomentPeak, kMaxPiles + 1> peak;
    std::array<double, kMaxPiles + 1> Zs;
  };
  thread_local Group group;  // large: kept off the stack
  for (int i = 1; i <= n; ++i) {
    const BeamPile p = rows ? BeamPileOf([row = rows + std::ptrdiff_t(i - 1) * kPileColumns](int c)
                                             -> const ProjectValue& { return row[c - 1]; })
                            : BeamPileOf([&](int c) -> const ProjectValue& { return project.Piles(c, i); });
    // The planes' coefficients alone: the profile's sections are not needed.
    const size_t k = size_t(i);
    const PileBeam& b = group.beam[k] = BeamOf(in, p, r.PileBeta[i]);
    const PlaneSolution::Basis basis = PlaneSolution::BasisOf(b);
    group.x[k] = basis.Combine(r.MemberDispX[i], -r.MemberRotZ[i]);
    group.z[k] = basis.Combine(r.MemberDispZ[i], r.MemberRotX[i]);
    group.Zs[k] = p.Zs;
  }
  GroundMomentsOf(n, group.beam.data(), group.x.data(), group.z.data(), group.peak.data());
  for (int i = 1; i <= n; ++i)
    out.ground[size_t(i)] = GroundOf(scale, group.Zs[size_t(i)], r, group.peak[size_t(i)], i);
  out.piles = n;
}

PilePlanes PlanesOf(const Project& project, const CalcResults& r, int pile) {
  using namespace detail;
  if (pile < 1 || pile > r.PileCount || !ForcesComplete(r)) return {};
  AnalysisConditions in;
  ReadConditions(project, in);
  return Planes(in, ReadPile(project, pile), r, pile);
}

PileProfile ProfileOf(const Project& project, const CalcResults& r, int pile, int points) {
  using namespace detail;
  PileProfile profile;
  if (pile < 1 || pile > r.PileCount || !ForcesComplete(r)) return profile;
  AnalysisConditions in;
  ReadConditions(project, in);
  const AnalysisPile p = ReadPile(project, pile);
  const PilePlanes planes = Planes(in, p, r, pile);
  profile.D = Number(project.Piles(1, pile));
  profile.h = p.h;
  profile.L = p.L;
  profile.beam = planes.x.beam();
  profile.ground = GroundOf(BendingScale(in), p.Zs, r, GroundMomentOf(planes.x, planes.z), pile);

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
