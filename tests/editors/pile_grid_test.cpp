// The pile grid as the user drives it: typing, keys, row commands, clipboard
// exchange with spreadsheets, undo and the diameter sort.
#include <QApplication>
#include <QLineEdit>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTextLayout>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

#include "fake_ui.h"
#include "greek_text.h"
#include "pile_grid.h"

using namespace hasorin;

namespace {

PileRow RowWithDiameter(double d, double marker) {
  PileRow row = PileDefaultRow();
  row[kColD] = d;
  for (int c = 6; c < kPileColumns; ++c) row[size_t(c)] = marker;
  return row;
}

std::vector<PileRow> DefaultRows(int n) { return std::vector<PileRow>(size_t(n), PileDefaultRow()); }

// The family each character of `text` is drawn from with `font`.
QStringList FamiliesDrawing(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  QStringList families;
  for (int i = 0; i < text.size(); ++i) {
    const QList<QGlyphRun> runs = layout.glyphRuns(i, 1);
    families << (runs.isEmpty() ? QString() : runs.front().rawFont().familyName());
  }
  return families;
}

double At(const PileGrid& g, int row, int column) {
  return g.Model()->Cell(row, column).value_or(-12345);
}

}  // namespace

class PileGridTest : public QObject {
  Q_OBJECT

 private:
  testing::FakeUi* ui_ = nullptr;
  QWidget* host_ = nullptr;
  PileGrid* grid_ = nullptr;
  QLineEdit* other_ = nullptr;  // somewhere else in the window to move the focus to

  void Type(const QString& text) {
    for (QChar ch : text) QTest::keyClicks(QApplication::focusWidget(), QString(ch));
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // Types a value into the active cell and confirms it with Enter.
  void Enter(const QString& text) {
    Type(text);
    Key(Qt::Key_Return);
  }

 private slots:
  void init() {
    ui_ = new testing::FakeUi;
    host_ = new QWidget;
    auto* layout = new QVBoxLayout(host_);
    grid_ = new PileGrid;
    other_ = new QLineEdit;
    layout->addWidget(grid_);
    layout->addWidget(other_);
    host_->resize(900, 400);
    host_->show();
    host_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(host_));
    grid_->setFocus();
  }
  void cleanup() {
    delete host_;
    delete ui_;
  }

  void typedValuesOutsideLimitsOrDigitsAreRefused() {
    grid_->SetRows(DefaultRows(2));
    Type("5");
    QVERIFY(grid_->IsEditing());
    QCOMPARE(grid_->Editor()->text(), QStringLiteral("5"));
    Key(Qt::Key_Return);
    QCOMPARE(ui_->beeps, 1);
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, QStringLiteral("入力範囲：0.1～3"));
    QVERIFY(grid_->IsEditing());  // still in the cell, value as typed
    QCOMPARE(grid_->Editor()->text(), QStringLiteral("5"));
    QCOMPARE(At(*grid_, 0, kColD), 0.1);
    QCOMPARE(grid_->ActiveRow(), 0);

    // Clicking another cell does not get past a refused value either.
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {},
                      grid_->visualRect(grid_->Model()->index(1, 3)).center());
    QCOMPARE(ui_->messages.size(), size_t(2));
    QCOMPARE(grid_->ActiveRow(), 0);

    Key(Qt::Key_Escape);
    QVERIFY(!grid_->IsEditing());
    QCOMPARE(At(*grid_, 0, kColD), 0.1);

    Enter("0.1234");
    QCOMPARE(ui_->messages.back().text, QStringLiteral("入力範囲：0.1～3（小数点以下3桁まで）"));
    QCOMPARE(At(*grid_, 0, kColD), 0.1);
    Key(Qt::Key_Escape);

    // Letters never start an entry.
    Type("x");
    QVERIFY(!grid_->IsEditing());
    QCOMPARE(ui_->beeps, 4);

    // A good value is taken, and Enter moves down.
    Enter("1.2");
    QVERIFY(!grid_->IsEditing());
    QCOMPARE(At(*grid_, 0, kColD), 1.2);
    QCOMPARE(grid_->ActiveRow(), 1);
    QCOMPARE(ui_->messages.size(), size_t(3));
  }

  void sectionValuesFollowDiameterThicknessAndCorrosion() {
    grid_->SetRows(DefaultRows(1));
    // A new row shows its defaults, L = 0 below its lower limit included.
    QCOMPARE(At(*grid_, 0, kColA), 0.01);
    QCOMPARE(At(*grid_, 0, 7), 0.0);

    Type("1");
    Key(Qt::Key_Tab);
    Enter("12");
    grid_->SetActiveCell(0, kColDt);
    Enter("1");
    QCOMPARE(At(*grid_, 0, kColA), 341.08);
    QCOMPARE(At(*grid_, 0, kColI), 415392.0);
    QCOMPARE(At(*grid_, 0, kColZ), 8324.0);  // shown and stored as the column shows it
    QCOMPARE(grid_->Model()->data(grid_->Model()->index(0, kColI), Qt::DisplayRole).toString(),
             QStringLiteral("415,392"));

    // Typed A, I, Z stay until D, t or dt change again; other columns compute nothing.
    grid_->SetActiveCell(0, kColA);
    Enter("100");
    grid_->SetActiveCell(0, 7);
    Enter("20");
    QCOMPARE(At(*grid_, 0, kColA), 100.0);

    // t = 1 mm is solid.
    grid_->SetActiveCell(0, kColT);
    Enter("1");
    QCOMPARE(At(*grid_, 0, kColA), 7822.6);

    // A corrosion allowance that leaves no diameter keeps the old values.
    grid_->SetActiveCell(0, kColD);
    Enter("0.1");
    const double a = At(*grid_, 0, kColA), i = At(*grid_, 0, kColI), z = At(*grid_, 0, kColZ);
    grid_->SetActiveCell(0, kColDt);
    Enter("50");
    QCOMPARE(At(*grid_, 0, kColDt), 50.0);
    QCOMPARE(At(*grid_, 0, kColA), a);
    QCOMPARE(At(*grid_, 0, kColI), i);
    QCOMPARE(At(*grid_, 0, kColZ), z);
  }

  void editingKeysBehaveLikeASpreadsheet() {
    std::vector<PileRow> rows = DefaultRows(3);
    rows[0][8] = 1.23456;  // more decimals than the column takes, as a file may hold
    grid_->SetRows(rows);
    grid_->SetActiveCell(0, 8);

    // F2 opens the full value; leaving it unchanged writes nothing.
    Key(Qt::Key_F2);
    QCOMPARE(grid_->Editor()->text(), QStringLiteral("1.23456"));
    Key(Qt::Key_Return);
    QVERIFY(!grid_->IsEditing());
    QVERIFY(ui_->messages.empty());
    QCOMPARE(At(*grid_, 0, 8), 1.23456);
    QCOMPARE(grid_->ActiveRow(), 1);

    // Tab moves right and runs on to the next row; Shift+Tab goes back.
    grid_->SetActiveCell(0, kPileColumns - 1);
    Key(Qt::Key_Tab);
    QCOMPARE(grid_->ActiveRow(), 1);
    QCOMPARE(grid_->ActiveColumn(), 0);
    Key(Qt::Key_Backtab);
    QCOMPARE(grid_->ActiveRow(), 0);
    QCOMPARE(grid_->ActiveColumn(), kPileColumns - 1);

    // Typing then an arrow key confirms and moves; Enter never reaches the dialog.
    grid_->SetActiveCell(1, 9);
    Type("-2.5");
    Key(Qt::Key_Right);
    QCOMPARE(At(*grid_, 1, 9), -2.5);
    QCOMPARE(grid_->ActiveColumn(), 10);

    // Delete empties the selected block; Backspace empties and starts typing.
    grid_->SetActiveCell(1, 9);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid_->SelectedBlock(), QRect(9, 1, 2, 2));
    Key(Qt::Key_Delete);
    QVERIFY(!grid_->Model()->Cell(1, 9) && !grid_->Model()->Cell(2, 10));
    QCOMPARE(At(*grid_, 0, 9), 0.0);
    grid_->SetActiveCell(0, 9);
    Key(Qt::Key_Backspace);
    QVERIFY(grid_->IsEditing());
    Key(Qt::Key_Return);
    QVERIFY(!grid_->Model()->Cell(0, 9));

    // Undo brings the cleared cells back, redo clears them again.
    QVERIFY(grid_->Undo());
    QCOMPARE(At(*grid_, 0, 9), 0.0);
    QVERIFY(grid_->Undo());
    QCOMPARE(At(*grid_, 1, 9), -2.5);
    QVERIFY(grid_->Redo());
    QVERIFY(!grid_->Model()->Cell(1, 9));
  }

  void rowCommandsKeepToTheRowLimit() {
    grid_->SetMaxRows(999);
    QSignalSpy counts(grid_, &PileGrid::RowCountChanged);

    // Delete on an empty grid does nothing.
    QVERIFY(!grid_->DeleteRow());
    QCOMPARE(grid_->RowCount(), 0);

    grid_->SetRows(DefaultRows(998));
    grid_->SetActiveCell(5, 2);
    QVERIFY(grid_->AddRow());
    QCOMPARE(grid_->RowCount(), 999);
    QCOMPARE(grid_->ActiveRow(), 5);  // Add does not move the active cell
    QVERIFY(!grid_->AddRow());
    QVERIFY(!grid_->InsertRow());
    QCOMPARE(grid_->RowCount(), 999);
    QCOMPARE(counts.size(), 1);
    QCOMPARE(counts.back().at(0).toInt(), 999);

    // Insert puts a default row at the active row and moves the others down.
    grid_->SetRows({RowWithDiameter(1.0, 1), RowWithDiameter(2.0, 2)});
    grid_->SetActiveCell(1, 3);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(grid_->RowCount(), 3);
    QCOMPARE(At(*grid_, 1, kColD), 0.1);
    QCOMPARE(At(*grid_, 2, kColD), 2.0);
    QCOMPARE(grid_->ActiveRow(), 1);

    // Shift+Del deletes the active row without a question; undo restores it.
    grid_->SetActiveCell(0, 0);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(grid_->RowCount(), 2);
    QCOMPARE(At(*grid_, 0, kColD), 0.1);
    QVERIFY(ui_->messages.empty());
    QVERIFY(grid_->Undo());
    QCOMPARE(grid_->RowCount(), 3);
    QCOMPARE(At(*grid_, 0, kColD), 1.0);

    // Deleting the last row leaves the active cell on the new last row.
    grid_->SetActiveCell(2, 0);
    QVERIFY(grid_->DeleteRow());
    QCOMPARE(grid_->ActiveRow(), 1);
    QVERIFY(grid_->DeleteRow());
    QVERIFY(grid_->DeleteRow());
    QCOMPARE(grid_->RowCount(), 0);
    QVERIFY(!grid_->DeleteRow());
    // Add on an empty table makes the new row active.
    QVERIFY(grid_->AddRow());
    QCOMPARE(grid_->ActiveRow(), 0);
  }

  void copyAndCutTheBlockOrTheActiveCell() {
    std::vector<PileRow> rows = {RowWithDiameter(0.8, 123.5), RowWithDiameter(1.0, 2)};
    rows[0][kColT] = 12;
    grid_->SetRows(rows);

    grid_->SetActiveCell(0, kColD);
    grid_->Copy();
    QCOMPARE(ui_->clipboard, QStringLiteral("0.800\r\n"));

    grid_->SetActiveCell(0, 12);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    // No grouping on the clipboard, so every program reads the numbers back.
    QCOMPARE(ui_->clipboard, QStringLiteral("123.5\t124\r\n2.0\t2\r\n"));

    grid_->Cut();
    QCOMPARE(ui_->clipboard, QStringLiteral("123.5\t124\r\n2.0\t2\r\n"));
    QVERIFY(!grid_->Model()->Cell(0, 12) && !grid_->Model()->Cell(1, 13));
    QCOMPARE(At(*grid_, 0, 11), 123.5);

    // Pasting back restores what was cut, as it was shown.
    grid_->SetActiveCell(0, 12);
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(At(*grid_, 0, 12), 123.5);
    QCOMPARE(At(*grid_, 0, 13), 124.0);
    QCOMPARE(At(*grid_, 1, 13), 2.0);
    QVERIFY(ui_->messages.empty());
  }

  void pasteOfAFullTableFromASpreadsheet() {
    grid_->SetMaxRows(999);
    QString text;
    for (int r = 0; r < 999; ++r) {
      QStringList cells;
      for (int c = 0; c < kPileColumns; ++c) {
        const PileColumn& col = PileColumns()[size_t(c)];
        cells << PileCopyText(c, col.lower + (col.upper - col.lower) * ((r + c) % 10) / 10.0);
      }
      cells[kColI] = QStringLiteral("1,234");  // grouping as a sheet shows it
      text += cells.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    ui_->clipboard = text;
    QSignalSpy counts(grid_, &PileGrid::RowCountChanged);
    grid_->Paste();  // onto an empty table: it grows to hold the block
    QCOMPARE(grid_->RowCount(), 999);
    QCOMPARE(counts.size(), 1);
    QVERIFY(ui_->messages.empty());
    QCOMPARE(At(*grid_, 0, kColD), 0.1);
    QCOMPARE(At(*grid_, 998, kColI), 1234.0);
    QCOMPARE(grid_->Model()->data(grid_->Model()->index(998, 13), Qt::DisplayRole).toString(),
             PileDisplayText(13, 99999999 * ((998 + 13) % 10) / 10.0));
    // Pasted A, I, Z win over the values computed from the pasted D, t, dt.
    QCOMPARE(At(*grid_, 3, kColA), 60000.0);
    QCOMPARE(grid_->SelectedBlock(), QRect(0, 0, kPileColumns, 999));
  }

  void pastedValuesOutsideTheirColumnAreReportedOnceAndSkipped() {
    grid_->SetRows(DefaultRows(2));
    grid_->SetActiveCell(0, kColD);
    ui_->clipboard = QStringLiteral("1.0\t5000\t1\n0.8\t\t12.34\n9\tabc\t2");
    grid_->Paste();
    QCOMPARE(ui_->beeps, 1);
    QCOMPARE(ui_->messages.size(), size_t(1));
    const QString msg = ui_->messages[0].text;
    QVERIFY2(msg.contains(QStringLiteral("1行 板厚ｔ(mm)：「5000」 入力範囲：0～999.9")), qPrintable(msg));
    QVERIFY(msg.contains(QStringLiteral("2行 ⊿ｔ(mm)：「12.34」 入力範囲：0～99.9（小数点以下1桁まで）")));
    QVERIFY(msg.contains(QStringLiteral("3行 杭径Ｄ(m)：「9」")));
    QVERIFY(msg.contains(QStringLiteral("3行 板厚ｔ(mm)：「abc」")));
    // The good values are kept, the refused cells keep what they held, a
    // blank clears its cell, and the table grew by the one row it needed.
    QCOMPARE(grid_->RowCount(), 3);
    QCOMPARE(At(*grid_, 0, kColD), 1.0);
    QCOMPARE(At(*grid_, 0, kColT), 0.0);
    QCOMPARE(At(*grid_, 0, kColDt), 1.0);
    QCOMPARE(At(*grid_, 1, kColD), 0.8);
    QVERIFY(!grid_->Model()->Cell(1, kColT));
    QCOMPARE(At(*grid_, 2, kColD), 0.1);
    QCOMPARE(At(*grid_, 2, kColDt), 2.0);
  }

  void pasteBeyondTheTableAndFillOfASelection() {
    grid_->SetMaxRows(3);
    grid_->SetRows(DefaultRows(2));
    grid_->SetActiveCell(1, 12);
    ui_->clipboard = QStringLiteral("1\t2\t3\n4\t5\t6\n7\t8\t9\n");
    grid_->Paste();
    QCOMPARE(grid_->RowCount(), 3);
    QCOMPARE(At(*grid_, 1, 12), 1.0);
    QCOMPARE(At(*grid_, 2, 13), 5.0);
    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages[0].text, QStringLiteral("表（3行×14列）からはみ出した部分は貼り付けませんでした。"));

    // One value pasted onto a selected block fills it.
    grid_->SetActiveCell(0, 7);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    ui_->clipboard = QStringLiteral("20\r\n");
    grid_->Paste();
    for (int r = 0; r < 3; ++r) QCOMPARE(At(*grid_, r, 7), 20.0);

    // An empty clipboard pastes nothing.
    ui_->clipboard.clear();
    grid_->Paste();
    QCOMPARE(At(*grid_, 0, 7), 20.0);
  }

  void sortByDiameterIsStableAndMovesWholeRows() {
    grid_->SetRows({RowWithDiameter(1.2, 1), RowWithDiameter(0.8, 2), RowWithDiameter(1.0, 3),
                    RowWithDiameter(0.8, 4)});
    grid_->SortByDiameter();
    const double diameters[] = {0.8, 0.8, 1.0, 1.2}, markers[] = {2, 4, 3, 1};
    for (int r = 0; r < 4; ++r) {
      QCOMPARE(At(*grid_, r, kColD), diameters[r]);
      for (int c = 6; c < kPileColumns; ++c) QCOMPARE(At(*grid_, r, c), markers[r]);
    }
  }

  void rangeHintFollowsTheActiveCellAndFocus() {
    grid_->SetRows(DefaultRows(2));
    QSignalSpy hints(grid_, &PileGrid::RangeHintChanged);
    grid_->SetActiveCell(0, 8);
    QCOMPARE(hints.back().at(0).toString(), QStringLiteral("入力範囲：-999.999～999.999"));
    Key(Qt::Key_Left);
    QCOMPARE(hints.back().at(0).toString(), QStringLiteral("入力範囲：0.01～99.99"));
    // Typing into the cell keeps the hint; leaving the grid empties it.
    Type("1");
    QCOMPARE(hints.back().at(0).toString(), QStringLiteral("入力範囲：0.01～99.99"));
    other_->setFocus();
    QCOMPARE(hints.back().at(0).toString(), QString());
    QCOMPARE(At(*grid_, 0, 7), 1.0);  // a valid entry is kept when focus leaves
    QVERIFY(!grid_->IsEditing());
  }

  void angleHeadersTellPhiFromPsi() {
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"))) QSKIP("DejaVu Sans not installed");
    if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic"))) QSKIP("IPAGothic not installed");
    // The Japanese font draws φ and ψ almost alike: the header draws only
    // the Greek letters with DejaVu Sans; full-width Ａ, Ｉ, Ｚ and Japanese
    // keep the grid's font (DejaVu Sans would draw Ｉ like a half-width l).
    grid_->setFont(QFont(QStringLiteral("IPAGothic"), 13));
    const QFont header = grid_->horizontalHeader()->font();
    QCOMPARE(header.pointSize(), 13);
    QCOMPARE(FamiliesDrawing(QStringLiteral("ＡＩＺ杭"), header),
             (QStringList{"IPAGothic", "IPAGothic", "IPAGothic", "IPAGothic"}));
    auto render = [&header](const QString& text, const QFont& font, bool greekAware) {
      QImage image(80, 40, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      painter.setPen(Qt::black);
      if (greekAware) {
        DrawGreekAware(painter, image.rect(), Qt::AlignLeft | Qt::AlignTop, text, font);
      } else {
        painter.setFont(font);
        painter.drawText(QPoint(0, QFontMetrics(header).ascent()), text);  // one baseline
      }
      return image;
    };
    QFont dejavu = header;
    dejavu.setFamilies({QStringLiteral("DejaVu Sans")});
    for (const QString& greek : {QStringLiteral("φ"), QStringLiteral("ψ")})
      QCOMPARE(render(greek, header, true), render(greek, dejavu, false));
    QCOMPARE(render(QStringLiteral("Ｉ(cm4)"), header, true), render(QStringLiteral("Ｉ(cm4)"), header, false));
    QCOMPARE(grid_->model()->headerData(11, Qt::Horizontal).toString(), QStringLiteral("φ(°)"));
    QCOMPARE(grid_->model()->headerData(12, Qt::Horizontal).toString(), QStringLiteral("ψ(°)"));
    // The cells keep the grid's own font.
    QCOMPARE(FamiliesDrawing(QStringLiteral("φ"), grid_->font()), QStringList{"IPAGothic"});
  }
};

QTEST_MAIN(PileGridTest)
#include "pile_grid_test.moc"
