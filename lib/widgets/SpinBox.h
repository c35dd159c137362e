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
public:
    SpinBox(SpinBoxModel& model, Platform& platform, QWidget* parent = nullptr);

    SpinBoxModel& model() const { return model_; }
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
