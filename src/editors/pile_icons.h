#pragma once
// Toolbar pictures of the pile table editor, drawn in code.
#include <QIcon>
#include <QString>

namespace hasorin {

// "Cut", "Copy", "Paste", "Add", "Insert", "Delete"; an empty icon otherwise.
QIcon PileToolIcon(const QString& key);

}  // namespace hasorin
