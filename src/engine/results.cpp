// The pipeline and the program-wide result tables.
#include <cfenv>

#include "stages.h"

namespace hasorin::engine {
namespace {

// Nothing in any table is from this run until a stage writes it.
void ForgetProgress(CalcResults& r) {
  PileTable* tables[] = {
      &r.PileBeta, &r.PileKt, &r.PileKv, &r.PileK1, &r.PileK2, &r.PileK3, &r.PileK4,
      &r.PileK1z, &r.PileK2z, &r.PileK3z, &r.PileK4z, &r.HeadDispX, &r.HeadDispY,
      &r.HeadDispZ, &r.MemberDispX, &r.MemberDispY, &r.MemberDispZ, &r.MemberRotX,
      &r.MemberRotY, &r.MemberRotZ, &r.Px, &r.Py, &r.Pz, &r.Mx, &r.My, &r.Mz, &r.Me,
      &r.SigmaX, &r.SigmaZ, &r.SigmaC, &r.SigmaB, &r.Slenderness,
      &r.SigmaCaAllow[kSKK400], &r.SigmaCaAllow[kSKK490], &r.CheckRatio[kSKK400],
      &r.CheckRatio[kSKK490]};
  for (PileTable* t : tables) t->computed = 0;
  r.solved = false;
}

int Run(const Project& project, CalcResults& r) {
  using namespace detail;
  // The working copy lives as long as the thread: a run allocates nothing.
  thread_local Workspace w;
  ForgetProgress(r);
  if (int code = ReadInputs(project, w, r)) return code;
  if (int code = CalcSprings(w, r)) return code;
  Matrix67 m;
  if (int code = AssembleGroupStiffness(w, r, m)) return code;
  // A group that cannot be solved is not an error of the run: the later
  // stages are skipped and their tables keep the previous values.
  std::array<double, 6> footing;
  if (!SolveGroupStiffness(m, footing)) return calcerr::kOk;
  r.Footing = footing;
  r.solved = true;
  if (int code = CalcPileHeadForces(w, r)) return code;
  return CalcStressCheck(w, r);
}

}  // namespace

int CalcPileGroup(const Project& project, CalcResults& results) {
  // Every failing step is caught by the checks, never by a trap: run with
  // all floating-point traps masked and give the caller back its own state.
  std::fenv_t callerEnv;
  std::feholdexcept(&callerEnv);
  results.code = Run(project, results);
  std::fesetenv(&callerEnv);
  return results.code;
}

std::string CalcErrorText(int code) {
  return "計算実行中にｴﾗｰが発生しました。(ｴﾗｰｺｰﾄﾞ ： " + std::to_string(code) +
         ")\n\n入力ﾃﾞｰﾀ等をご確認の上再度実行して下さい。";
}

std::string SolveFailedText() {
  return "杭群の剛性マトリクスを解くことができませんでした。\n\n入力ﾃﾞｰﾀ等をご確認の上再度実行して下さい。";
}

CalcResults& TheResults() {
  static CalcResults results;
  return results;
}

int CalcPileGroup() { return CalcPileGroup(TheProject(), TheResults()); }

}  // namespace hasorin::engine
