#pragma once
// Many load cases on one project. The springs and the group stiffness do not
// depend on the loads or on the increase factor, so they are computed and the
// stiffness eliminated once; each case then only solves for its own loads and
// derives its pile heads and stress check. Every case gives exactly what
// CalcPileGroup gives for the project with that case's loads and factor,
// return code and failed solve included.
#include <array>
#include <memory>
#include <vector>

#include "case_table.h"
#include "engine.h"

namespace hasorin::engine {

class LoadCaseRunner {
 public:
  explicit LoadCaseRunner(const Project& project);
  ~LoadCaseRunner();
  LoadCaseRunner(const LoadCaseRunner&) = delete;
  LoadCaseRunner& operator=(const LoadCaseRunner&) = delete;

  // Runs one case; the results stay valid until the next Run. Returns the
  // code (results().code), as CalcPileGroup would.
  const CalcResults& Run(const LoadCase& loadCase);

 private:
  struct Prepared;
  Prepared& For(const LoadCase& loadCase);

  const Project& project_;
  // The project's own factor, and a factor given by the case.
  std::unique_ptr<Prepared> own_, given_;
};

// A value and where it was found (a pile, or a case; 0 when none).
struct Extreme {
  double value = 0;
  int at = 0;
};

// The governing values of one group of results: the largest and smallest
// Py, the Px and Pz of largest magnitude (signed), the largest bending
// resultant sqrt(Mx^2 + Mz^2), and per grade the largest check ratio of a
// compressed pile (SigmaC >= 0, as the stress viewer shows it).
struct Governing {
  Extreme pyMax, pyMin, px, pz, moment;
  std::array<Extreme, 2> ratio;
};

// True when the run completed: solved and every stage done.
bool CaseCompleted(const CalcResults& r);

// The governing pile of every value of a completed run.
Governing GoverningPiles(const CalcResults& r);

// Per pile, the governing case of every value over the completed cases.
class Envelope {
 public:
  explicit Envelope(int piles) : piles_(size_t(piles)) {}
  // Adds completed case number `caseNo` (1-based); returns its governing
  // piles (GoverningPiles of r), found in the same pass.
  Governing Add(int caseNo, const CalcResults& r);
  int PileCount() const { return int(piles_.size()); }
  // Pile 1..PileCount().
  const Governing& Pile(int pile) const { return piles_[size_t(pile) - 1]; }

 private:
  std::vector<Governing> piles_;
};

}  // namespace hasorin::engine
