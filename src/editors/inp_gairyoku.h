#pragma once
// frmInpGairyoku: the six external loads at the coordinate origin, beside an
// explanatory figure of the axes and load directions.
#include <array>

#include "editor_frame.h"
#include "entry_fields.h"
#include "exchange.h"

namespace hasorin {

class frmInpGairyoku : public EditorFrame {
  Q_OBJECT
 public:
  explicit frmInpGairyoku(QWidget* parent = nullptr);

  // The working values numXo..numMzo, exchanged by the main window.
  LoadsFields Fields() const;
  void SetFields(const LoadsFields& fields);

  NumberField* numXo = nullptr;
  NumberField* numYo = nullptr;
  NumberField* numZo = nullptr;
  NumberField* numMxo = nullptr;
  NumberField* numMyo = nullptr;
  NumberField* numMzo = nullptr;
  // The six fields in Loads order.
  std::array<NumberField*, kLoadFields> LoadFieldsInOrder() const;
};

// The fixed figure: plan, side view and elevation of a pile cap on piles with
// the axes, the loads and moments at O and the angles φ and ψ.
class LoadsFigure : public QWidget {
  Q_OBJECT
 public:
  explicit LoadsFigure(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {300, 350}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace hasorin
