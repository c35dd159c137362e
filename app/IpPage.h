// tsIP: the IP Calculator page, bound to its page model.
#pragma once

#include "Platform.h"

#include <QWidget>

namespace tarvelle {

class IpPage : public QWidget
{
    Q_OBJECT
public:
    IpPage(Platform& platform, QWidget* parent = nullptr);

    /// The window's creation step: start items of cbSlash, then cbMask.
    void SetInitialLists();

private:
    Platform& platform_;
};

} // namespace tarvelle
