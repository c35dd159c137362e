#include "Binding.h"

#include <QSignalBlocker>

namespace tarvelle {

void BindEdit(QLineEdit* edit, EditField& field, std::function<void()> shown)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&field, shown = std::move(shown)](const QString& text) {
        field.set(text.toStdString());
        shown();
    });
}

void BindPick(QComboBox* combo, PickList& list, std::function<void()> shown)
{
    QObject::connect(combo, &QComboBox::activated, combo, [&list, shown = std::move(shown)](int index) {
        list.pick(index);
        shown();
    });
}

void ShowText(QLineEdit* edit, const std::string& text)
{
    const QString t = QString::fromStdString(text);
    if (edit->text() != t) {
        const QSignalBlocker blocker(edit);
        edit->setText(t);
    }
}

void ShowIndex(QComboBox* combo, int index)
{
    if (combo->currentIndex() != index) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(index);
    }
}

void ShowCaption(QLabel* label, const std::string& caption)
{
    const QString t = QString::fromStdString(caption);
    if (label->text() != t)
        label->setText(t);
}

void FillCombo(QComboBox* combo, const PickList& list)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const std::string& item : list.items())
        combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(list.index());
}

} // namespace tarvelle
