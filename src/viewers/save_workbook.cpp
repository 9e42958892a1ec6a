#include "save_workbook.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "open_viewers.h"
#include "result_fill.h"
#include "result_frame.h"
#include "result_grid.h"
#include "result_tables.h"
#include "ui.h"

namespace hasorin {
namespace {

const QString kTitle = QStringLiteral("Excelに保存");

void SaveWorkbook(ResultFrame& window, const Project& project, const engine::CalcResults& results) {
  FileDialogOptions options;
  options.title = kTitle;
  options.filter = QStringLiteral("Excelﾌｧｲﾙ(*.xlsx)");
  options.defaultSuffix = "xlsx";
  // Beside the project, named after it.
  const QFileInfo input(QString::fromStdString(project.CurrentFilePath));
  options.startFolder = project.CurrentFilePath.empty() ? QString() : input.absolutePath();
  options.fileName = (project.CurrentFilePath.empty() ? QStringLiteral("計算結果") : input.completeBaseName()) + ".xlsx";
  const QString path = Ui().GetSaveFileName(&window, options);
  if (path.isEmpty()) return;
  std::string error;
  if (WriteResultsWorkbook(path.toStdString(), results, IncreaseFactor(project), &error)) return;
  Ui().Beep();
  Ui().ShowMessage(&window, QString::fromStdString(error), kTitle, MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace

void AddSaveWorkbookEntry(ResultFrame& window, const Project& project, const engine::CalcResults& results) {
  for (ResultGrid* grid : window.Grids()) {
    grid->ContextMenu()->addSeparator();
    QAction* save = grid->ContextMenu()->addAction(QStringLiteral("Excelに保存..."));
    QObject::connect(save, &QAction::triggered, &window,
                     [&window, &project, &results] { SaveWorkbook(window, project, results); });
  }
}

void InstallSaveWorkbookEntry() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  AddViewerHook([](ResultFrame& window) { AddSaveWorkbookEntry(window, TheProject(), engine::TheResults()); });
}

}  // namespace hasorin
