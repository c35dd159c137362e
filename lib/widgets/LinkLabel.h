// A web link drawn as a label: a left click on it, or Enter or Space while it has the focus, is a click.
#pragma once

#include <QLabel>

namespace tarvelle {

/// A label that reports a click: a left press and release both on the label, or Enter, Return or Space
/// while it has the keyboard focus. It takes the focus by Tab and shows it with a focus frame; it has no
/// hover look or cursor.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

    /// Reports a click, as a mouse click or key would.
    void click() { Q_EMIT clicked(); }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace tarvelle
