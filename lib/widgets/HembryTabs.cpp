#include "HembryTabs.h"

#include <QPainter>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace tarvelle {

namespace {

// Horizontal padding on each side of a caption, as native tab controls leave it.
constexpr int kCaptionPadding = 6;

int TopOffset(QTabWidget::TabPosition position, bool active)
{
    if (position == QTabWidget::South)
        return active ? 2 : -2;
    return active ? 0 : 2;
}

} // namespace

QColor ColorFromBgr(uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void DrawColoredTab(QPainter& painter, const QTabWidget& pageControl, uint32_t color, const QRect& rect, int tabIndex,
                    bool active, const QString& caption)
{
    QRect r = rect;

    int page = -1;
    for (int i = 0; i < pageControl.count(); ++i) {
        if (pageControl.isTabVisible(i) && --tabIndex < 0) {
            page = i;
            break;
        }
    }

    painter.save();
    painter.setFont(pageControl.font());
    painter.setPen(pageControl.palette().color(QPalette::WindowText));
    const QString text = !caption.isEmpty() ? caption : (page >= 0 ? pageControl.tabText(page) : QString());
    painter.fillRect(r, ColorFromBgr(color));
    r.setTop(r.top() + TopOffset(pageControl.tabPosition(), active));
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, r.width());
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, shown);
    painter.restore();
}

ColoredTabBar::ColoredTabBar(QWidget* parent) : QTabBar(parent)
{
    setUsesScrollButtons(false);
    setExpanding(false);
    setElideMode(Qt::ElideRight);
    setDrawBase(true);
}

QSize ColoredTabBar::tabSizeHint(int index) const
{
    const QFontMetrics fm = fontMetrics();
    // Mnemonic ampersands are not drawn, so they take no room.
    QString text = tabText(index);
    text.remove(QLatin1Char('&'));
    return {fm.horizontalAdvance(text) + 2 * kCaptionPadding, fm.height() + 7};
}

void ColoredTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    int visibleIndex = 0;
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i))
            continue;
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        if (drawTab_) {
            // The face goes inside the frame the style drew.
            const QRect face = option.rect.adjusted(2, 2, -2, -1);
            drawTab_(painter, face, visibleIndex, i == currentIndex());
        }
        ++visibleIndex;
    }
}

PageControl::PageControl(QWidget* parent) : QTabWidget(parent), bar_(new ColoredTabBar(this))
{
    setTabBar(bar_);
}

QRect PageControl::pageArea() const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
}

void PageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    if (QWidget* page = widget(index))
        page->resize(pageArea().size());
}

} // namespace tarvelle
