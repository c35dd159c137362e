#include "AboutPage.h"

#include "AboutLinks.h"
#include "Fonts.h"

#include <QApplication>
#include <QResource>

namespace tarvelle {

QImage IconImage(int size)
{
    // The pixels as raw RGBA bytes: decoding a PNG would first make Qt look through every image-format
    // plugin, which costs more at start-up than the whole icon.
    const QResource raw(QStringLiteral(":/icons/tarvelle-%1.rgba").arg(size));
    const QByteArray bytes = raw.uncompressedData();
    if (bytes.size() != qsizetype {size} * size * 4)
        return QImage(QStringLiteral(":/icons/tarvelle-%1.png").arg(size));
    return QImage(reinterpret_cast<const uchar*>(bytes.constData()), size, size, size * 4, QImage::Format_RGBA8888)
        .copy();
}

QIcon ProgramIcon()
{
    // Built once per application, and released with the application object.
    static QIcon* icon = nullptr;
    if (icon == nullptr) {
        icon = new QIcon;
        for (const int size : kIconSizes)
            icon->addPixmap(QPixmap::fromImage(IconImage(size)));
        qAddPostRoutine([] {
            delete icon;
            icon = nullptr;
        });
    }
    return *icon;
}

AboutPage::AboutPage(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform)
{
    setObjectName(QStringLiteral("tsAbout"));
    CreateLayout();
}

void AboutPage::CreateLayout()
{
    const QFont windowFont = ArialFont(11, false, false);

    QLabel* label4
        = AddLabel("Label4", QStringLiteral("Tarvelle v" TARVELLE_VERSION), ArialFont(13, true, false), {104, 13});
    label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    AddLabel("Label5", QStringLiteral("\u00A9 2026"), windowFont, {101, 33});
    AddLink("Label6", QStringLiteral("Quenfield Software"), {140, 33}, &AboutPage::Label6Click);

    AddLabel("Label38", QStringLiteral("Why is this program free?  "), ArialFont(11, true, false), {12, 60});
    QLabel* label39 = AddLabel("Label39",
                               QStringLiteral("We wanted to develop an easy-to-use, yet functional program for "
                                              "assisting with networking issues.  We decided to make it free in "
                                              "hopes that you would take a look at the other software that we "
                                              "offer on our web site.  Our most popular titles are:"),
                               windowFont, {12, 80}, QSize(345, 61));
    label39->setWordWrap(true);

    AddLink("Label40", QStringLiteral("Ostrelin"), {12, 149}, &AboutPage::Label40Click);
    AddLabel("Label41", QStringLiteral("Network inventory and change tracking for offices"), windowFont, {80, 149},
             QSize(269, 14));
    AddLink("Label42", QStringLiteral("Vantrix"), {12, 177}, &AboutPage::Label42Click);
    AddLabel("Label43", QStringLiteral("Remote desktop help over any network connection"), windowFont, {80, 177},
             QSize(269, 14));

    QLabel* label44 = AddLabel("Label44",
                               QStringLiteral("Please take a few minutes to examine what we have to offer, and "
                                              "spread the word about this and our other products!  Just click on "
                                              "the blue links above for more information."),
                               windowFont, {12, 204}, QSize(341, 41));
    label44->setWordWrap(true);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(ProgramIcon().pixmap(32, 32));
    image1->setGeometry(20, 12, 32, 32);
    image1->setAccessibleName(QStringLiteral("Tarvelle icon"));
}

QLabel* AboutPage::AddLabel(const char* name, const QString& text, const QFont& font, QPoint pos, QSize size)
{
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    // Plain text keeps the double blanks between sentences, which rich text would fold into one.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A label without a size of its own fits its text; measuring a text is not free, so only those are measured.
    if (size.isValid())
        label->setGeometry(QRect(pos, size));
    else {
        label->move(pos);
        label->adjustSize();
    }
    return label;
}

LinkLabel* AboutPage::AddLink(const char* name, const QString& text, QPoint pos, void (AboutPage::*handler)())
{
    auto* link = new LinkLabel(this);
    link->setObjectName(QLatin1String(name));
    link->setTextFormat(Qt::PlainText);
    link->setText(text);
    link->setFont(ArialFont(11, false, true));
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColor(link, QColor(0, 0, 255));
    link->move(pos);
    link->adjustSize();
    link->setAccessibleDescription(QStringLiteral("Web link"));
    connect(link, &LinkLabel::clicked, this, handler);
    return link;
}

void AboutPage::Label6Click()
{
    constexpr char kAddress[] = "https://quenfield.example/";
    OpenWebLink(platform_, kAddress);
}

void AboutPage::Label40Click()
{
    constexpr char kAddress[] = "https://ostrelin.example/";
    OpenWebLink(platform_, kAddress);
}

void AboutPage::Label42Click()
{
    constexpr char kAddress[] = "https://vantrix.example/";
    OpenWebLink(platform_, kAddress);
}

} // namespace tarvelle
