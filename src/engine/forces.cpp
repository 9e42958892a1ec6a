// Pile-head displacements, forces in member axes and the stresses they cause.
#include <cmath>

#include "stages.h"

namespace hasorin::engine::detail {
HASORIN_LANES_BEGIN
namespace {

// The results of pile(s) `at` in the order of the tables below, computed on
// one pile (T = double) or on kLanes side by side (T = Lanes).
template <class T, class Check>
void HeadForces(const Workspace& w, const CalcResults& r, const std::array<double, 6>& footing,
                Piles<T> at, Check& g, std::array<T, 20>& out) {
  const T dx = footing[0], dy = footing[1], dz = footing[2];
  const T tx = footing[3], ty = footing[4], tz = footing[5];
  auto pile = [&](Column WorkPiles::*v) { return at.Of(w.pile.*v); };
  auto axes = [&](Column Axes::*v) { return at.Of(w.axes.*v); };
  auto spring = [&](const PileTable& t) { return at.In(t); };
  const T X = pile(&WorkPiles::X), Y = pile(&WorkPiles::Y), Z = pile(&WorkPiles::Z);
  const T sphi = axes(&Axes::sphi), cphi = axes(&Axes::cphi);
  const T spsi = axes(&Axes::spsi), cpsi = axes(&Axes::cpsi);

  // The cap moves by delta + theta x r at the head.
  const T ux = dx + ty * Z - tz * Y;
  const T uy = dy + tz * X - tx * Z;
  const T uz = dz + tx * Y - ty * X;
  g.Put(out[0], ux);
  g.Put(out[1], uy);
  g.Put(out[2], uz);

  const T mux = cphi * cpsi * ux - sphi * uy + cphi * spsi * uz;
  const T muy = sphi * cpsi * ux + cphi * uy + sphi * spsi * uz;
  const T muz = -spsi * ux + cpsi * uz;
  const T mtx = cphi * cpsi * tx - sphi * ty + cphi * spsi * tz;
  const T mty = sphi * cpsi * tx + cphi * ty + sphi * spsi * tz;
  const T mtz = -spsi * tx + cpsi * tz;
  g.Put(out[3], mux);
  g.Put(out[4], muy);
  g.Put(out[5], muz);
  g.Put(out[6], mtx);
  g.Put(out[7], mty);
  g.Put(out[8], mtz);

  const T Px = spring(r.PileK1) * mux - spring(r.PileK2) * mtz;
  const T Py = spring(r.PileKv) * muy;
  const T Pz = spring(r.PileK1z) * muz + spring(r.PileK2z) * mtx;
  const T Mx = spring(r.PileK3z) * muz + spring(r.PileK4z) * mtx;
  const T My = spring(r.PileKt) * mty;
  const T Mz = -spring(r.PileK3) * mux + spring(r.PileK4) * mtz;
  g.Put(out[9], Px);
  g.Put(out[10], Py);
  g.Put(out[11], Pz);
  g.Put(out[12], Mx);
  g.Put(out[13], My);
  g.Put(out[14], Mz);

  // Equivalent moment of bending with torsion.
  const T M = g.Sqrt(Mz * Mz + Mx * Mx);
  const T Mt = g.Sqrt(Mz * Mz + My * My + Mx * Mx);
  const T Me = (M + Mt) * 0.5;
  g.Put(out[15], Me);

  // kN/m2 with the uncorroded section, then N/mm2; the four are stored
  // together so that no slot is left half converted.
  const T A = pile(&WorkPiles::A), Zs = pile(&WorkPiles::Zs);
  const T sc = g.Div(Py, A);
  const T sx = g.Finite(sc + g.Div(Abs(Mx), Zs));
  const T sz = g.Finite(sc + g.Div(Abs(Mz), Zs));
  const T sb = g.Div(Me, Zs);
  g.Put(out[16], sx / 1000);
  g.Put(out[17], sz / 1000);
  g.Put(out[18], sc / 1000);
  g.Put(out[19], sb / 1000);
}

}  // namespace

int CalcPileHeadForces(const Workspace& w, CalcResults& r) {
  PileSteps steps(r, [](CalcResults& t) {
    return std::array{&t.HeadDispX,   &t.HeadDispY,   &t.HeadDispZ,  &t.MemberDispX, &t.MemberDispY,
                      &t.MemberDispZ, &t.MemberRotX,  &t.MemberRotY, &t.MemberRotZ,  &t.Px,
                      &t.Py,          &t.Pz,          &t.Mx,         &t.My,          &t.Mz,
                      &t.Me,          &t.SigmaX,      &t.SigmaZ,     &t.SigmaC,      &t.SigmaB};
  });
  // A copy the stores into the tables cannot touch, so that it stays in registers.
  const std::array<double, 6> footing = r.Footing;
  for (int i = 1; i <= w.n; i += kLanes) {
    if (i + kLanes - 1 <= w.n && steps.RunLanes(i, [&](auto& g, auto& out) {
          HeadForces(w, r, footing, Piles<Lanes>{i}, g, out);
        }))
      continue;
    // The last piles, or lanes with a failing step: one pile at a time.
    for (int k = i; k < i + kLanes && k <= w.n; ++k) {
      const int code = steps.Run(k, [&](auto& g, auto& out) {
        HeadForces(w, r, footing, Piles<double>{k}, g, out);
      });
      if (code) return code;
    }
  }
  steps.Done(w.n);
  return calcerr::kOk;
}

}  // namespace HASORIN_LANES_NS
}  // namespace hasorin::engine::detail
