// Pictures of the profile window for a rigid-head and a hinged-head pile of
// the inclined example with the PDF of each sheet, and of the pile-head
// window's status bar for the inclined example and a group close to a
// mechanism: profile_screenshots OUTPUT_FOLDER (run under xvfb-run). Not a test.
#include <QApplication>
#include <QDir>
#include <QFont>

#include "example_projects.h"
#include "open_profile.h"
#include "open_viewers.h"
#include "res_out_pxpypz.h"
#include "profile_sheet.h"
#include "res_out_profile.h"

using namespace hasorin;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QFont font;
  font.setFamilies({"IPAPGothic", "IPAGothic"});
  font.setPointSize(10);
  QApplication::setFont(font);
  const QString folder = argc > 1 ? argv[1] : ".";
  for (int head : {0, 1}) {
    Project project = testing::Inclined4();
    project.Conditions(4) = ProjectValue::Integer(std::int16_t(head));
    engine::CalcResults results;
    if (engine::CalcPileGroup(project, results) != 0 || !results.solved) return 1;
    frmResOutProfile window;
    QObject::connect(&window, &ResultFrame::LoadData, &window, [&] {
      window.SetSource(4, [&](int i) { return MakeProfileSheet(project, results, i); }, 3);
    });
    window.show();
    window.resize(1300, 860);
    QApplication::processEvents();
    const QString name = head ? "profile_hinged" : "profile_rigid";
    window.grab().save(QDir(folder).filePath(name + ".png"));
    SaveProfileSheet(window.Sheet(), QDir(folder).filePath(name + ".pdf"));
  }
  const std::pair<const char*, Project> groups[] = {{"heads_inclined", testing::Inclined4()},
                                                     {"heads_near_mechanism", testing::NearMechanism()}};
  for (const auto& [name, project] : groups) {
    engine::CalcResults results;
    engine::CalcPileGroup(project, results);
    frmResOutPxPyPz heads;
    ConnectViewer(heads, results);
    heads.Load();
    ExtendPileHeadWindow(heads, project, results);
    heads.show();
    QApplication::processEvents();
    heads.grab().save(QDir(folder).filePath(QString(name) + ".png"));
  }
  return 0;
}
