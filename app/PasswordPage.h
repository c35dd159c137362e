// tsPasswords: the Password Generator page, bound to its page model.
#pragma once

#include "Entropy.h"
#include "Platform.h"
#include "Random.h"

#include <QWidget>

namespace tarvelle {

class PasswordPage : public QWidget
{
    Q_OBJECT
public:
    PasswordPage(Platform& platform, EntropyPool& entropy, LcgRandom& generator, QWidget* parent = nullptr);

    /// The window's creation step: start item of cbWordMode.
    void SetInitialMode();

private:
    Platform& platform_;
};

} // namespace tarvelle
