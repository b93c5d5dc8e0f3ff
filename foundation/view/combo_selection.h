#pragma once

#include <QComboBox>
#include <string>

namespace foundation {

// Selects the entry whose text equals `text` exactly (case-sensitive). Every entry is looked
// at, so of several equal entries the last one ends selected; no match leaves the selection as
// it was. Each change of the current entry raises the combo box's own change notification
// (currentIndexChanged), so a handler may run between two matches.
void SelectComboItemByText(QComboBox& combo, const std::string& text);

}  // namespace foundation
