#include "foundation/view/combo_selection.h"

#include <QPointer>
#include <QString>

namespace foundation {

void SelectComboItemByText(QComboBox& combo, const std::string& text) {
  const QString wanted = QString::fromStdString(text);
  // A change handler may alter the entries or even destroy the box; the count is read afresh
  // on every step and the walk ends when the box is gone.
  QPointer<QComboBox> box(&combo);
  for (int i = 0; box && i < box->count(); ++i) {
    if (box->itemText(i) == wanted) box->setCurrentIndex(i);
  }
}

}  // namespace foundation
