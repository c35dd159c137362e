// tsAbout: the program's icon, title and notice, why the program is free, two other products and a closing
// text, with three link labels that open web pages.
//
// The page has no state. A left click on a link label, or Enter or Space while it has the focus (Tab reaches
// the three links after the tab bar), runs its handler (Label6Click, Label40Click, Label42Click), which opens
// the link's fixed address through OpenWebLink (AboutLinks.h). ProgramIcon() is the icon of the window and
// the application as well.
#pragma once

#include "LinkLabel.h"
#include "Platform.h"

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QWidget>

namespace tarvelle {

/// The sizes of the program's icon images, in pixels.
inline constexpr int kIconSizes[] = {16, 32, 48, 96, 256};

/// One image of the program's icon (a size of kIconSizes), from the Qt resource.
QImage IconImage(int size);

/// The program's icon in every size of kIconSizes.
QIcon ProgramIcon();

class AboutPage : public QWidget
{
    Q_OBJECT
public:
    AboutPage(Platform& platform, QWidget* parent = nullptr);

    /// Opens the maker's web site.
    void Label6Click();
    /// Opens the web site of Ostrelin.
    void Label40Click();
    /// Opens the web site of Vantrix.
    void Label42Click();

private:
    void CreateLayout();
    QLabel* AddLabel(const char* name, const QString& text, const QFont& font, QPoint pos, QSize size = {});
    LinkLabel* AddLink(const char* name, const QString& text, QPoint pos, void (AboutPage::*handler)());

    Platform& platform_;
};

} // namespace tarvelle
