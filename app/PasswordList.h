// lbPasswords: the Password page's owner-drawn multi-column list and its item painter.
//
// Items are 16 pixels high and fill a column top to bottom, then the next; each column is the inner width
// divided by the column count, and a horizontal scroll bar shows when the columns do not fit. Every item is
// painted by lbPasswordsDrawItem, each character in the colour of its class (CharacterColor). A double-click
// anywhere on the list, or Enter on its current item, is passed on as dblClicked(), and Ctrl+C as
// copyRequested(); the page asks the model what to do with the selection.
#pragma once

#include <QListWidget>
#include <QStyledItemDelegate>

class QFont;
class QPainter;

namespace tarvelle {

/// Paints one list item: the background (light grey when selected, else white), then each character at
/// rect.left() + 2 in its class colour, advancing by that character's own width in `font`.
void lbPasswordsDrawItem(QPainter& painter, const QRect& rect, const QString& text, bool selected, const QFont& font);

class PasswordListBox : public QListWidget
{
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;

    explicit PasswordListBox(QWidget* parent = nullptr);

    int columns() const { return columns_; }
    /// Sets the column count (at least 1) and lays the items out again.
    void setColumns(int columns);
    /// The selected item's row, or -1.
    int selectedRow() const;
    /// Selects a row (-1: none) without raising any signal.
    void showSelectedRow(int row);

Q_SIGNALS:
    /// The list was double-clicked, on an item or not, or Enter was pressed on its current item.
    void dblClicked();
    /// Ctrl+C (the platform's copy keys) was pressed in the list.
    void copyRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateGrid();

    int columns_ = 3;
};

/// Hands each item of the list to lbPasswordsDrawItem and sizes it as one grid cell.
class PasswordItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit PasswordItemDelegate(PasswordListBox* list) : QStyledItemDelegate(list), list_(list) { }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    PasswordListBox* list_;
};

} // namespace tarvelle
