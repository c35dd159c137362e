// tsAbout: the program's title, notice, texts, icon and three web links.
#pragma once

#include "Platform.h"

#include <QWidget>

namespace tarvelle {

class AboutPage : public QWidget
{
    Q_OBJECT
public:
    AboutPage(Platform& platform, QWidget* parent = nullptr);

private:
    Platform& platform_;
};

} // namespace tarvelle
