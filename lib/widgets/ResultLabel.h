// A label that shows a result beside its caption.
#pragma once

#include <QLabel>

namespace tarvelle {

/// A result label: a screen reader speaks its caption as the name and its text as the value. The caption is
/// the label whose buddy it is (TieCaption), or else its accessible name.
class ResultLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    /// The caption text a screen reader speaks as this label's name.
    QString caption() const;
};

/// Makes `caption` the caption of `result`: its buddy, so that it also labels it for assistive technology.
void TieCaption(QLabel* caption, ResultLabel* result);

} // namespace tarvelle
