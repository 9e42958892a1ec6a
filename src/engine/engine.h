#pragma once
// The calculation engine: pile springs, group stiffness and solve, pile-head
// forces and the stress check, run as one synchronous pipeline. No Qt here.
#include <array>
#include <string>

#include "project.h"

namespace hasorin::engine {

// The value of pi used in every computation of the engine.
inline constexpr double kPi = 3.141592654;

// Return codes of CalcPileGroup (classic BASIC run-time error numbers).
namespace calcerr {
inline constexpr int kOk = 0;
inline constexpr int kInvalidArgument = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscript = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
}  // namespace calcerr

// One double per pile, indexed 1..999 (slot 0 unused).
struct PileTable {
  std::array<double, kMaxPiles + 1> v{};
  // Piles 1..computed were written by the last run; the slots above keep
  // older values (a run that stops early leaves them stale).
  int computed = 0;
  double& operator[](int pile) { return v[size_t(pile)]; }
  double operator[](int pile) const { return v[size_t(pile)]; }
  bool Computed(int pile) const { return pile >= 1 && pile <= computed; }
};

// Steel grades of the stress check.
inline constexpr int kSKK400 = 0;
inline constexpr int kSKK490 = 1;
struct GradeTable {
  std::array<PileTable, 2> grade;  // [kSKK400], [kSKK490]
  PileTable& operator[](int g) { return grade[size_t(g)]; }
  const PileTable& operator[](int g) const { return grade[size_t(g)]; }
};

struct CalcResults {
  // Springs (member axes).
  PileTable PileBeta, PileKt, PileKv;
  PileTable PileK1, PileK2, PileK3, PileK4;
  PileTable PileK1z, PileK2z, PileK3z, PileK4z;

  // The rigid cap at the origin: dx, dy, dz (m), thetax, thetay, thetaz (rad).
  std::array<double, 6> Footing{};
  // The group stiffness the solve was given (both triangles), kept for the
  // stage after the run; written exactly when `assembled` is true.
  std::array<std::array<double, 6>, 6> Stiffness{};
  bool assembled = false;

  // Pile heads.
  PileTable HeadDispX, HeadDispY, HeadDispZ;
  PileTable MemberDispX, MemberDispY, MemberDispZ;
  PileTable MemberRotX, MemberRotY, MemberRotZ;
  PileTable Px, Py, Pz, Mx, My, Mz;
  PileTable Me, SigmaX, SigmaZ, SigmaC, SigmaB, Slenderness;

  // Stress check for both grades.
  GradeTable SigmaCaAllow, CheckRatio;

  // N of the last run (the engine's copy of PileCount, within 0..999).
  int PileCount = 0;
  // The last run solved the group stiffness. False after a failed solve or a
  // run that stopped before the solve. Footing was written by the last run
  // exactly when this is true.
  bool solved = false;
  // Return code of the last run.
  int code = 0;
};

// The per-pile tables by name, in the order of the record (the names are
// those of the command line's JSON); the stress-check tables SigmaCaAllow and
// CheckRatio follow them, one table per grade.
struct NamedTable {
  const char* name;
  PileTable CalcResults::*table;
};
inline constexpr NamedTable kPileTables[] = {
    {"PileBeta", &CalcResults::PileBeta},       {"PileKt", &CalcResults::PileKt},
    {"PileKv", &CalcResults::PileKv},           {"PileK1", &CalcResults::PileK1},
    {"PileK2", &CalcResults::PileK2},           {"PileK3", &CalcResults::PileK3},
    {"PileK4", &CalcResults::PileK4},           {"PileK1z", &CalcResults::PileK1z},
    {"PileK2z", &CalcResults::PileK2z},         {"PileK3z", &CalcResults::PileK3z},
    {"PileK4z", &CalcResults::PileK4z},         {"HeadDispX", &CalcResults::HeadDispX},
    {"HeadDispY", &CalcResults::HeadDispY},     {"HeadDispZ", &CalcResults::HeadDispZ},
    {"MemberDispX", &CalcResults::MemberDispX}, {"MemberDispY", &CalcResults::MemberDispY},
    {"MemberDispZ", &CalcResults::MemberDispZ}, {"MemberRotX", &CalcResults::MemberRotX},
    {"MemberRotY", &CalcResults::MemberRotY},   {"MemberRotZ", &CalcResults::MemberRotZ},
    {"Px", &CalcResults::Px},                   {"Py", &CalcResults::Py},
    {"Pz", &CalcResults::Pz},                   {"Mx", &CalcResults::Mx},
    {"My", &CalcResults::My},                   {"Mz", &CalcResults::Mz},
    {"Me", &CalcResults::Me},                   {"SigmaX", &CalcResults::SigmaX},
    {"SigmaZ", &CalcResults::SigmaZ},           {"SigmaC", &CalcResults::SigmaC},
    {"SigmaB", &CalcResults::SigmaB},           {"Slenderness", &CalcResults::Slenderness}};

// Runs the whole pipeline on `project`, overwriting `results` for piles 1..N.
// Returns 0 or the error code of the first failing step; tables keep what was
// written before the stop. A failed solve returns 0 with solved == false.
int CalcPileGroup(const Project& project, CalcResults& results);

// What the user is told when a run stops with `code`, and when the group
// stiffness could not be solved (a run that returns 0 with solved == false).
std::string CalcErrorText(int code);
std::string SolveFailedText();

// The program-wide results the windows and reports read, and the
// program-wide run on the program-wide project.
CalcResults& TheResults();
int CalcPileGroup();

}  // namespace hasorin::engine
