// tsPasswords: the Password Generator page, bound to its page model.
#pragma once

#include "Platform.h"

#include <QWidget>

namespace tarvelle {

class PasswordPage : public QWidget
{
    Q_OBJECT
public:
    PasswordPage(Platform& platform, QWidget* parent = nullptr);

    /// The window's creation step: start item of cbWordMode.
    void SetInitialMode();

private:
    Platform& platform_;
};

} // namespace tarvelle
