// Owner-drawn tabs for any page control (QTabWidget).
//
// DrawColoredTab paints one tab's face: the fill in a colour and the centred, single-line, end-ellipsised
// caption in the page control's font. ColoredTabBar draws the toolkit's tab frames and hands each tab's
// rectangle to a draw callback (the main window's pcMainDrawTab); PageControl is a QTabWidget that uses it.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QTabBar>
#include <QTabWidget>

#include <cstdint>
#include <functional>

class QPainter;

namespace tarvelle {

/// A 0x00BBGGRR colour value (red in the low byte) as a QColor.
QColor ColorFromBgr(uint32_t bgr);

/// Paints one owner-drawn tab of pageControl: fill in color, then the caption of the tabIndex-th visible page
/// (or caption, when not empty) centred on one line, cut with an ellipsis.
void DrawColoredTab(QPainter& painter, const QTabWidget& pageControl, uint32_t color, const QRect& rect, int tabIndex,
                    bool active, const QString& caption);

/// A tab bar that lets the toolkit draw the tab frames and a callback paint each tab's face.
class ColoredTabBar : public QTabBar
{
    Q_OBJECT
public:
    /// painter, tab rectangle, index among the visible tabs, selected flag.
    using DrawTab = std::function<void(QPainter&, const QRect&, int, bool)>;

    explicit ColoredTabBar(QWidget* parent = nullptr);
    void setDrawTab(DrawTab drawTab) { drawTab_ = std::move(drawTab); }

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void paintEvent(QPaintEvent* event) override;

private:
    DrawTab drawTab_;
};

/// A page control whose tabs are painted by the program.
class PageControl : public QTabWidget
{
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
    ColoredTabBar* coloredTabBar() const { return bar_; }
    /// The rectangle the pages fill, in the page control's coordinates.
    QRect pageArea() const;

protected:
    /// Gives a new page its final size at once, so that it can measure its contents before it is first shown.
    void tabInserted(int index) override;

private:
    ColoredTabBar* bar_;
};

} // namespace tarvelle
