#pragma once
// frmInpJyoken: the calculation conditions (title, Ep, kh, pile-head and
// pile-tip conditions, how Kv is obtained, the allowable-stress factor).
#include <QButtonGroup>

#include "editor_frame.h"
#include "entry_fields.h"
#include "exchange.h"

namespace hasorin {

class frmInpJyoken : public EditorFrame {
  Q_OBJECT
 public:
  explicit frmInpJyoken(QWidget* parent = nullptr);

  // The working values, exchanged by the main window's LoadData / SaveData.
  ConditionsFields Fields() const;
  void SetFields(const ConditionsFields& fields);

  // The title holds at most 40 print columns (a full-width character counts two).
  static constexpr int kTitleBytes = 40;

  TextField* txtTitle = nullptr;
  NumberField* numEp = nullptr;
  NumberField* numKh = nullptr;
  NumberField* numAlpha = nullptr;
  QButtonGroup* optTop = nullptr;
  QButtonGroup* optBottom = nullptr;
  QButtonGroup* optKv = nullptr;
};

}  // namespace hasorin
