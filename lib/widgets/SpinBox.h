// The Qt face of SpinBoxModel: an edit with two arrow buttons that forwards typing, arrows, wheel and
// focus loss to the model and shows the model's text. QSpinBox itself clamps while typing, which these
// boxes must not do.
#pragma once

#include "Platform.h"
#include "SpinBoxModel.h"

#include <QAbstractSpinBox>

namespace tarvelle {

class SpinBox : public QAbstractSpinBox
{
    Q_OBJECT
    // Qt's accessible description of a spin box reads its value and range through these properties; without
    // them a screen reader is told 0 whatever the box shows.
    Q_PROPERTY(int value READ value)
    Q_PROPERTY(int minimum READ minimum)
    Q_PROPERTY(int maximum READ maximum)
public:
    SpinBox(SpinBoxModel& model, Platform& platform, QWidget* parent = nullptr);

    SpinBoxModel& model() const { return model_; }
    /// The value the text reads as, unclamped (MinValue when the text is no integer).
    int value() const { return model_.value(); }
    /// The model's MinValue.
    int minimum() const { return model_.minValue(); }
    /// The model's MaxValue.
    int maximum() const { return model_.maxValue(); }
    /// Shows the model's text, without raising any signal.
    void sync();
    /// The character typed into the box as a decimal separator (the locale's).
    void setDecimalSeparator(QChar separator) { separator_ = separator; }

    void stepBy(int steps) override;

Q_SIGNALS:
    /// The user changed the model through this box; the page shows the model again.
    void edited();

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void textEdited(const QString& text);

    SpinBoxModel& model_;
    Platform& platform_;
    QChar separator_ = QLatin1Char('.');
};

} // namespace tarvelle
