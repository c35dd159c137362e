#include "Tarvelle01.h"

#include "AboutPage.h"
#include "AccessibleWidgets.h"
#include "BandwidthPage.h"
#include "Fonts.h"
#include "HembryTabs.h"
#include "IpPage.h"
#include "PasswordPage.h"
#include "WindowPalette.h"
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace tarvelle {

namespace {

constexpr QPoint kLaidOutPosition {881, 489};

} // namespace

TfrmBandwidthCalc::TfrmBandwidthCalc(Platform& platform, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , platform_(platform)
{
    InstallAccessibleWidgets();
    CreateLayout();
    FormCreate();
}

TfrmBandwidthCalc::~TfrmBandwidthCalc() = default;

void TfrmBandwidthCalc::CreateLayout()
{
    setObjectName(QStringLiteral("frmBandwidthCalc"));
    setWindowTitle(QStringLiteral("Tarvelle"));
    setWindowIcon(ProgramIcon());
    setFixedSize(393, 305);
    move(kLaidOutPosition);

    setFont(ArialFont(11));
    // The window's colour is fixed, so every colour drawn on it is too: a dark desktop theme would otherwise
    // turn texts light on the light grey.
    const QPalette pal = LightPalette(ColorFromBgr(kWindowColor));
    setPalette(pal);
    setAutoFillBackground(true);
    setMouseTracking(true);

    pcMain = new PageControl(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    pcMain->setGeometry(8, 8, 377, 289);
    pcMain->setAccessibleName(QStringLiteral("Pages"));
    pcMain->coloredTabBar()->setDrawTab([this](QPainter& painter, const QRect& rect, int tabIndex, bool active) {
        pcMainDrawTab(painter, rect, tabIndex, active);
    });

    // Created as children of the window so that they size their labels in the window's font.
    tsAbout = new AboutPage(platform_, this);
    tsBandwidth = new BandwidthPage(platform_, this);
    tsIP = new IpPage(platform_, this);
    tsPasswords = new PasswordPage(platform_, entropy_, generator_, this);
    pcMain->addTab(tsAbout, QStringLiteral("About"));
    pcMain->addTab(tsBandwidth, QStringLiteral("Bandwidth Calculator"));
    pcMain->addTab(tsIP, QStringLiteral("IP Calculator"));
    pcMain->addTab(tsPasswords, QStringLiteral("Password Generator"));
    for (QWidget* page : {static_cast<QWidget*>(tsAbout), static_cast<QWidget*>(tsBandwidth),
                          static_cast<QWidget*>(tsIP), static_cast<QWidget*>(tsPasswords)}) {
        page->setPalette(pal);
        page->setAutoFillBackground(true);
    }
    UseLightPalette(this, ColorFromBgr(kWindowColor));
    // The stored layout was saved with the Password page active; FormCreate opens on About.
    pcMain->setCurrentWidget(tsPasswords);
}

void TfrmBandwidthCalc::FormCreate()
{
    RunFormCreate(*this);
}

void TfrmBandwidthCalc::SetBandwidthUnits()
{
    tsBandwidth->SetInitialUnits();
}

void TfrmBandwidthCalc::SetIpLists()
{
    tsIP->SetInitialLists();
}

void TfrmBandwidthCalc::SetPasswordMode()
{
    tsPasswords->SetInitialMode();
}

void TfrmBandwidthCalc::ShowAboutPage()
{
    pcMain->setCurrentWidget(tsAbout);
}

void TfrmBandwidthCalc::TakeFirstEntropyWord()
{
    entropy_.TakeFirstWord(generator_, platform_);
}

void TfrmBandwidthCalc::RunToleranceChange()
{
    tsBandwidth->RunToleranceChange();
}

void TfrmBandwidthCalc::mouseMoveEvent(QMouseEvent* event)
{
    // Moves over the page control that it ignores bubble up here; only the window's own margin counts.
    const QPoint p = event->position().toPoint();
    if (!pcMain->geometry().contains(p))
        FormMouseMove(p.x(), p.y());
    event->accept();
}

void TfrmBandwidthCalc::FormMouseMove(int x, int y)
{
    const QPoint screen = mapToGlobal(QPoint(x, y));
    entropy_.MouseStir({screen.x(), screen.y()}, generator_, platform_);
}

void TfrmBandwidthCalc::pcMainDrawTab(QPainter& painter, const QRect& rect, int tabIndex, bool active)
{
    DrawColoredTab(painter, *pcMain, kWindowColor, rect, tabIndex, active, QString());
}

void TfrmBandwidthCalc::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    const QScreen* screen = QGuiApplication::screenAt(kLaidOutPosition);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveTopLeft(kLaidOutPosition);
    move(PlaceInside(frame, screen->availableGeometry()));
}

} // namespace tarvelle
