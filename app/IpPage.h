// tsIP: the IP Calculator page, bound to its page model.
//
// The page creates the four octet boxes, the prefix and mask lists, the result labels and the fixed captions
// at their pixel positions. User edits and picks go into IpPageModel (which recomputes the page); Show() then
// copies every model field back into the widgets. One key filter (tbIP1KeyPress) serves the four boxes: it asks
// the model about each typed character and swallows it, lets it through or moves the focus to a neighbour box.
// The page needs no platform service: it never beeps and never shows a dialog.
#pragma once

#include "IpPageModel.h"
#include "Platform.h"

#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace tarvelle {

class ResultLabel;

class IpPage : public QWidget
{
    Q_OBJECT
public:
    IpPage(Platform& platform, QWidget* parent = nullptr);

    /// The window's creation step: start items of cbSlash, then cbMask; computes nothing.
    void SetInitialLists();

    /// The character a key press types, as the octet filter sees it; none for keys that type nothing.
    static std::optional<char32_t> TypedCharacter(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateLayout();
    void CreateInputs();
    void CreateResultLabels();
    void CreateCaptions();
    QLabel* AddLabel(const char* name, const QString& text, QPoint pos, bool small);
    ResultLabel* AddResult(const char* name, QPoint pos, bool small);
    void SetUpLabel(QLabel* label, const char* name, const QString& text, QPoint pos, bool small);
    QLabel* AddRightAlignedLabel(const char* name, const QString& text, int top, int right, bool small);
    void Bind();

    /// Copies every model field into its widget.
    void Show();

    /// Key filter of octet box `box` (1..4); true when the key must not reach the box.
    bool tbIP1KeyPress(int box, const QKeyEvent& event);

    IpPageModel model_;

    std::array<QLineEdit*, 4> tbIP_ {};
    QComboBox* cbSlash = nullptr;
    QComboBox* cbMask = nullptr;
    ResultLabel* lbIPBinary = nullptr;
    ResultLabel* lbBreakdown = nullptr;
    ResultLabel* lbSNBinary = nullptr;
    ResultLabel* lbClass = nullptr;
    ResultLabel* lbReserved = nullptr;
    ResultLabel* lbBroadcast = nullptr;
    ResultLabel* lbAddresses = nullptr;
    ResultLabel* lbSubnet = nullptr;
};

} // namespace tarvelle
