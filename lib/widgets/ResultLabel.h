// A label that shows a result beside its caption.
#pragma once

#include <QLabel>

namespace tarvelle {

/// A result label: a screen reader reads the result it shows as its name (nothing while it shows a blank),
/// and its caption from the label whose buddy it is (TieCaption) or from its accessible description. Setting
/// a new text raises the name change, as for any label.
class ResultLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
};

/// Makes `caption` the caption of `result`: its buddy, so that it labels it for assistive technology.
void TieCaption(QLabel* caption, ResultLabel* result);

} // namespace tarvelle
