// tsBandwidth: the Bandwidth Calculator page, bound to its page model.
//
// The page creates the three rows (solve button, edit box, unit list, tolerance line), the common-rate list,
// the tolerance spin box and the fixed captions at their pixel positions. User edits, picks, spin box input and
// button clicks go into BandwidthPageModel, whose handlers run their chains of updates; Show() then copies
// every model field back into the widgets, Label1's colour included. A failed solve beeps through the platform.
#pragma once

#include "BandwidthPageModel.h"
#include "Platform.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvelle {

class SpinBox;

class BandwidthPage : public QWidget
{
    Q_OBJECT
public:
    BandwidthPage(Platform& platform, QWidget* parent = nullptr);

    /// The window's creation step: start items of the three unit lists.
    void SetInitialUnits();
    /// The window's creation step: seTolChange, once.
    void RunToleranceChange();

private Q_SLOTS:
    void btnBWClick();
    void btnDSClick();
    void btnTmClick();
    void seTolChange();

private:
    void CreateLayout();
    void CreateRow(QPushButton*& button, const char* buttonName, const char* caption, QLineEdit*& box,
                   const char* boxName, QComboBox*& unit, const char* unitName, int top);
    void CreateToleranceBox(Platform& platform);
    void CreateCaptions();
    void SetTabOrder();
    QLabel* AddLabel(const char* name, const QString& text, QPoint pos, const char* resultCaption = nullptr);
    void Bind();

    /// Copies every model field into its widget.
    void Show();
    void ShowLabel1Colour();

    bandwidth::BandwidthPageModel model_;

    QLabel* Label1 = nullptr;
    QPushButton* btnBW = nullptr;
    QLineEdit* tbBW = nullptr;
    QComboBox* cbBWUnit = nullptr;
    QComboBox* cbCommon = nullptr;
    QLabel* lbBWTol = nullptr;
    QPushButton* btnDS = nullptr;
    QLineEdit* tbDS = nullptr;
    QComboBox* cbDSUnit = nullptr;
    QLabel* lbDSTol = nullptr;
    QPushButton* btnTm = nullptr;
    QLineEdit* tbTm = nullptr;
    QComboBox* cbTmUnit = nullptr;
    QLabel* lbTmTol = nullptr;
    SpinBox* seTol = nullptr;
};

} // namespace tarvelle
