// Small helpers that bind Qt widgets to the model-side EditField and PickList.
//
// User input goes into the model (which runs the handlers); the page then shows the model again through
// the Show* helpers, which write a widget only when its content differs and never raise its signals.
#pragma once

#include "EditField.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <functional>
#include <string>

namespace tarvelle {

/// Every user edit of the line edit is set into the field, then `shown` runs.
void BindEdit(QLineEdit* edit, EditField& field, std::function<void()> shown);
/// Every user pick in the combo box is passed to the list, then `shown` runs.
void BindPick(QComboBox* combo, PickList& list, std::function<void()> shown);

void ShowText(QLineEdit* edit, const std::string& text);
void ShowIndex(QComboBox* combo, int index);
void ShowCaption(QLabel* label, const std::string& caption);

/// Fills a combo box with the list's items and selects its index.
void FillCombo(QComboBox* combo, const PickList& list);

} // namespace tarvelle
