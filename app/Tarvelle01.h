// The main window: a fixed 393 x 305 client area holding the page control pcMain with its four pages.
//
// Control names keep a short type prefix and a role name:
//   tb  line edit          cb  drop-down list      se  spin box          ckb  check box
//   lb  result label/list  btn push button         ts  tab page          pc   page control
//   sd  save dialog        slc string-list holder  LabelNN  static labels keep their numbers
// Every control carries its name as objectName, so tests find it with findChild.
//
// The window creates the pages, runs the creation steps (FormCreate) and stirs the entropy word on mouse
// movement over its own margin (FormMouseMove). Each page binds its own toolkit-free model.
#pragma once

#include "Entropy.h"
#include "FormCreate.h"
#include "Platform.h"
#include "Random.h"

#include <QWidget>

#include <cstdint>

namespace tarvelle {

class PageControl;
class AboutPage;
class BandwidthPage;
class IpPage;
class PasswordPage;

/// The window's colour, 0x00BBGGRR.
inline constexpr uint32_t kWindowColor = 13684944; // 0x00D0D0D0

class TfrmBandwidthCalc : public QWidget, private FormCreateSteps
{
    Q_OBJECT
public:
    explicit TfrmBandwidthCalc(Platform& platform, QWidget* parent = nullptr);
    ~TfrmBandwidthCalc() override;

    PageControl* pcMain = nullptr;
    AboutPage* tsAbout = nullptr;
    BandwidthPage* tsBandwidth = nullptr;
    IpPage* tsIP = nullptr;
    PasswordPage* tsPasswords = nullptr;

    /// The entropy word, taken at creation and stirred by mouse movement over the margin.
    EntropyPool& entropy() { return entropy_; }
    /// The program's generator; its GeneratorSeed is seeded from the entropy word before each Generate.
    LcgRandom& generator() { return generator_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateLayout();
    void FormCreate();
    void FormMouseMove(int x, int y);
    void pcMainDrawTab(QPainter& painter, const QRect& rect, int tabIndex, bool active);

    void SetBandwidthUnits() override;
    void SetIpLists() override;
    void SetPasswordMode() override;
    void ShowAboutPage() override;
    void TakeFirstEntropyWord() override;
    void RunToleranceChange() override;

    Platform& platform_;
    EntropyPool entropy_;
    LcgRandom generator_;
    bool placed_ = false;
};

} // namespace tarvelle
