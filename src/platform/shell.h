#pragma once
// CSystem: starting another program (the previewer) through the desktop's
// process-start seam, so that tests see the exact program and arguments.
#include <QString>
#include <QStringList>

namespace hasorin {

class CSystem {
 public:
  // Starts `program` with `arguments`, each handed over as one argument
  // exactly as given: no blank, quote or leading "-" or "/" inside one can
  // split it or add another. `windowStyle` is accepted for the callers'
  // sake and does not reach the program. With `wait` it blocks until the
  // program ends. False when the program could not be started.
  static bool Shell(const QString& program, const QStringList& arguments, int windowStyle = 0,
                    bool wait = false);
};

}  // namespace hasorin
