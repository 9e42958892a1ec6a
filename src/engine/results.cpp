// The pipeline and the program-wide result tables.
#include <cfenv>

#include "stages.h"

namespace hasorin::engine {
namespace {

// Nothing in any table is from this run until a stage writes it.
void ForgetProgress(CalcResults& r) {
  for (const NamedTable& t : kPileTables) (r.*t.table).computed = 0;
  for (int g = kSKK400; g <= kSKK490; ++g) r.SigmaCaAllow[g].computed = r.CheckRatio[g].computed = 0;
  r.solved = false;
  r.assembled = false;
}

int Run(const Project& project, CalcResults& r) {
  using namespace detail;
  // The working copy lives as long as the thread: a run allocates nothing.
  thread_local Workspace w;
  ForgetProgress(r);
  const LaneStages& stages = Stages();
  if (int code = ReadInputs(project, w, r)) return code;
  if (int code = stages.springs(w, r)) return code;
  Matrix67 m;
  if (int code = stages.assemble(w, r, m)) return code;
  KeepStiffness(m, r);
  // A group that cannot be solved is not an error of the run: the later
  // stages are skipped and their tables keep the previous values.
  std::array<double, 6> footing;
  if (!SolveGroupStiffness(m, footing)) return calcerr::kOk;
  r.Footing = footing;
  r.solved = true;
  if (int code = stages.forces(w, r)) return code;
  return stages.stress(w, r);
}

}  // namespace

int CalcPileGroup(const Project& project, CalcResults& results) {
  // Every failing step is caught by the checks, never by a trap: run with
  // all floating-point traps masked and the usual rounding, and give the
  // caller back its own state.
  std::fenv_t callerEnv;
  std::feholdexcept(&callerEnv);
  std::fesetround(FE_TONEAREST);
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
