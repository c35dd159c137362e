#include "PasswordList.h"

#include "HembryTabs.h"
#include "PasswordPageModel.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace tarvelle {

namespace {

// An item's background: light grey when selected, else white.
QColor ItemBackground(bool selected)
{
    return selected ? QColor(221, 221, 221) : QColor(255, 255, 255);
}

} // namespace

void lbPasswordsDrawItem(QPainter& painter, const QRect& rect, const QString& text, bool selected, const QFont& font)
{
    painter.save();
    painter.fillRect(rect, ItemBackground(selected));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int baseline = rect.top() + metrics.ascent();
    int left = rect.left() + 2;
    for (const char32_t ch : text.toUcs4()) {
        const QString glyph = QString::fromUcs4(&ch, 1);
        painter.setPen(ColorFromBgr(CharacterColor(ch)));
        painter.drawText(left, baseline, glyph);
        left += metrics.horizontalAdvance(glyph);
    }
    painter.restore();
}

PasswordListBox::PasswordListBox(QWidget* parent) : QListWidget(parent)
{
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new PasswordItemDelegate(this));
    updateGrid();
}

void PasswordListBox::setColumns(int columns)
{
    columns = std::max(columns, 1);
    if (columns == columns_)
        return;
    columns_ = columns;
    updateGrid();
}

int PasswordListBox::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void PasswordListBox::showSelectedRow(int row)
{
    if (selectedRow() == row)
        return;
    const QSignalBlocker blocker(this);
    if (row < 0 || row >= count())
        clearSelection();
    else
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void PasswordListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT dblClicked();
}

void PasswordListBox::keyPressEvent(QKeyEvent* event)
{
    // The list's own copy would put the password on the clipboard as plain text only, unmarked as a secret.
    const bool copy = event->matches(QKeySequence::Copy);
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!copy && !enter) {
        QListWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // The keys act on the item with the focus frame, as a double-click acts on the item clicked.
    if (currentIndex().isValid() && selectedRow() != currentRow())
        setCurrentRow(currentRow(), QItemSelectionModel::ClearAndSelect);
    if (copy)
        Q_EMIT copyRequested();
    else
        Q_EMIT dblClicked();
}

void PasswordListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    updateGrid();
}

void PasswordListBox::updateGrid()
{
    // The column width follows the inner width, which the vertical scroll bar (never shown) cannot narrow.
    const QSize cell(std::max(viewport()->width() / columns_, 1), kItemHeight);
    if (gridSize() != cell)
        setGridSize(cell);
}

void PasswordItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    lbPasswordsDrawItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(), selected, list_->font());
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = ItemBackground(selected);
        list_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, list_);
    }
}

QSize PasswordItemDelegate::sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& /*index*/) const
{
    return list_->gridSize();
}

} // namespace tarvelle
