#pragma once
// What a user does in the numbering settings editor, as mouse and key events.
#include <QAbstractItemView>
#include <QApplication>
#include <QTabBar>
#include <QTest>

#include "inp_renban.h"

namespace hasorin::testing {

inline void ClickTab(frmInpRenban& editor, int index) {
  QTabBar* bar = editor.TabStrip1->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

inline void ClickOption(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Clicks into the field, selects what it holds and types `text` over it.
inline void TypeInto(NumberField* field, const QString& text) {
  QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
}

// Opens the list and clicks entry `position`; true when the list closed again.
inline bool Choose(QComboBox* list, int position) {
  QTest::mouseClick(list, Qt::LeftButton);
  QAbstractItemView* view = list->view();
  if (!QTest::qWaitFor([&] { return view->isVisible(); })) return false;
  QTest::qWait(QApplication::doubleClickInterval() + 50);  // the list ignores a release at once
  const QRect entry = view->visualRect(view->model()->index(position, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
  return QTest::qWaitFor([&] { return !view->isVisible(); });
}

}  // namespace hasorin::testing
