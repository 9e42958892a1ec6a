// Pile-head displacements, forces in member axes and the stresses they cause.
#include <cmath>

#include "stages.h"

namespace hasorin::engine::detail {

int CalcPileHeadForces(const Workspace& w, CalcResults& r) {
  Guard g;
  const auto& [dx, dy, dz, tx, ty, tz] = r.Footing;
  for (int i = 1; i <= w.n; ++i) {
    const WorkPile& p = w.pile[size_t(i)];
    const auto [sphi, cphi, spsi, cpsi] = w.axes[size_t(i)];

    // The cap moves by delta + theta x r at the head.
    const double ux = dx + ty * p.Z - tz * p.Y;
    const double uy = dy + tz * p.X - tx * p.Z;
    const double uz = dz + tx * p.Y - ty * p.X;
    if (!g.Put(r.HeadDispX, i, ux) || !g.Put(r.HeadDispY, i, uy) || !g.Put(r.HeadDispZ, i, uz))
      return g.code();

    const double mux = cphi * cpsi * ux - sphi * uy + cphi * spsi * uz;
    const double muy = sphi * cpsi * ux + cphi * uy + sphi * spsi * uz;
    const double muz = -spsi * ux + cpsi * uz;
    const double mtx = cphi * cpsi * tx - sphi * ty + cphi * spsi * tz;
    const double mty = sphi * cpsi * tx + cphi * ty + sphi * spsi * tz;
    const double mtz = -spsi * tx + cpsi * tz;
    if (!g.Put(r.MemberDispX, i, mux) || !g.Put(r.MemberDispY, i, muy) ||
        !g.Put(r.MemberDispZ, i, muz) || !g.Put(r.MemberRotX, i, mtx) ||
        !g.Put(r.MemberRotY, i, mty) || !g.Put(r.MemberRotZ, i, mtz))
      return g.code();

    const double Px = r.PileK1[i] * mux - r.PileK2[i] * mtz;
    const double Py = r.PileKv[i] * muy;
    const double Pz = r.PileK1z[i] * muz + r.PileK2z[i] * mtx;
    const double Mx = r.PileK3z[i] * muz + r.PileK4z[i] * mtx;
    const double My = r.PileKt[i] * mty;
    const double Mz = -r.PileK3[i] * mux + r.PileK4[i] * mtz;
    if (!g.Put(r.Px, i, Px) || !g.Put(r.Py, i, Py) || !g.Put(r.Pz, i, Pz) ||
        !g.Put(r.Mx, i, Mx) || !g.Put(r.My, i, My) || !g.Put(r.Mz, i, Mz))
      return g.code();

    // Equivalent moment of bending with torsion.
    const double M = g.Sqrt(Mz * Mz + Mx * Mx);
    const double Mt = g.Sqrt(Mz * Mz + My * My + Mx * Mx);
    const double Me = (M + Mt) * 0.5;
    if (!g.Put(r.Me, i, Me)) return g.code();

    // kN/m2 with the uncorroded section, then N/mm2; the four are stored
    // together so that no slot is left half converted.
    const double sc = g.Div(Py, p.A);
    const double sx = g.Finite(sc + g.Div(std::fabs(Mx), p.Zs));
    const double sz = g.Finite(sc + g.Div(std::fabs(Mz), p.Zs));
    const double sb = g.Div(Me, p.Zs);
    if (!g.Put(r.SigmaX, i, sx / 1000) || !g.Put(r.SigmaZ, i, sz / 1000) ||
        !g.Put(r.SigmaC, i, sc / 1000) || !g.Put(r.SigmaB, i, sb / 1000))
      return g.code();
  }
  return calcerr::kOk;
}

}  // namespace hasorin::engine::detail
