// The desktop program: Japanese Qt dialogs, a Japanese UI font, the
// program-wide paths, then the main window.
#include <QApplication>
#include <QFont>
#include <QTimer>
#include <cstdlib>

#include "engine.h"
#include "menu_main.h"
#include "open_profile.h"
#include "settings.h"
#include "ui.h"

namespace {

// Start-up timing: with HASORIN_EXIT_AFTER_SHOW set the program ends as soon
// as the main window has painted for the first time, without the closing
// steps (no prompt, no position written).
class ExitOnFirstPaint : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, [] { std::quick_exit(0); });
    }
    return false;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  hasorin::InstallQtJapaneseTranslation(app);
  QFont font;
  font.setFamilies({"IPAPGothic", "IPAGothic", "Meiryo UI", "MS UI Gothic"});
  font.setPointSize(10);
  QApplication::setFont(font);

  hasorin::InitProgramPaths();
  hasorin::InstallProfileCommands(hasorin::TheProject(), hasorin::engine::TheResults());
  hasorin::frmMenuMain window;
  if (qEnvironmentVariableIsSet("HASORIN_EXIT_AFTER_SHOW"))
    window.installEventFilter(new ExitOnFirstPaint(&app));
  window.show();
  return app.exec();
}
