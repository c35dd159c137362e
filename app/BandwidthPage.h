// tsBandwidth: the Bandwidth Calculator page, bound to its page model.
#pragma once

#include "Platform.h"

#include <QWidget>

namespace tarvelle {

class BandwidthPage : public QWidget
{
    Q_OBJECT
public:
    BandwidthPage(Platform& platform, QWidget* parent = nullptr);

    /// The window's creation step: start items of the three unit lists.
    void SetInitialUnits();
    /// The window's creation step: seTolChange, once.
    void RunToleranceChange();

private:
    Platform& platform_;
};

} // namespace tarvelle
