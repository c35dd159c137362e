#include "PasswordPageFixture.h"
#include "PasswordStrength.h"
#include "RowName.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>

#include <string>
#include <vector>

namespace tarvelle {
namespace {

using tarvelle::test::PrintTo;

using test::PasswordPageTest;

// ---- Controls, layout and start values ------------------------------------------------------------------------

// The rightmost pixel column a caption inks when drawn unclipped from x = 0, its accelerator underlined.
int InkRight(const QFont& font, const QString& caption)
{
    QImage image(QFontMetrics(font).horizontalAdvance(caption) + 20, 30, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, caption);
    painter.end();
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (qAlpha(image.pixel(x, y)) != 0)
                return x;
    return -1;
}

struct PlaceRow
{
    const char* name;
    QRect geometry; // an empty size: a label sized to its caption
};

class PasswordPagePlaces : public PasswordPageTest, public testing::WithParamInterface<PlaceRow>
{ };

TEST_P(PasswordPagePlaces, ControlStandsAtItsPlaceAndShowsItsWholeCaption)
{
    const PlaceRow& row = GetParam();
    QWidget* w = Find<QWidget>(row.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->pos(), row.geometry.topLeft());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        EXPECT_LT(InkRight(label->font(), label->text()), label->width()) << "caption cut";
        EXPECT_GE(label->height(), label->fontMetrics().height());
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        EXPECT_EQ(check->height(), row.geometry.height());
        EXPECT_GE(check->width(), row.geometry.width());
        EXPECT_GE(check->width(), check->sizeHint().width()) << "caption cut";
    } else {
        EXPECT_EQ(w->size(), row.geometry.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, PasswordPagePlaces,
    testing::Values(PlaceRow {"Label27", {8, 12, 0, 0}}, PlaceRow {"Label36", {188, 12, 0, 0}},
                    PlaceRow {"seMinLen", {212, 8, 45, 23}}, PlaceRow {"Label37", {260, 12, 0, 0}},
                    PlaceRow {"seMaxLen", {284, 8, 45, 23}}, PlaceRow {"ckbUpper", {12, 36, 133, 17}},
                    PlaceRow {"Label25", {188, 36, 0, 0}}, PlaceRow {"seUpper1", {212, 32, 45, 23}},
                    PlaceRow {"Label26", {260, 36, 0, 0}}, PlaceRow {"seUpper2", {284, 32, 45, 23}},
                    PlaceRow {"ckbLower", {12, 60, 15, 17}}, PlaceRow {"Label46", {28, 62, 0, 0}},
                    PlaceRow {"Label28", {188, 60, 0, 0}}, PlaceRow {"seLower1", {212, 56, 45, 23}},
                    PlaceRow {"Label29", {260, 60, 0, 0}}, PlaceRow {"seLower2", {284, 56, 45, 23}},
                    PlaceRow {"ckbNumeric", {12, 84, 15, 17}}, PlaceRow {"Label45", {28, 86, 0, 0}},
                    PlaceRow {"Label30", {188, 84, 0, 0}}, PlaceRow {"seNum1", {212, 80, 45, 23}},
                    PlaceRow {"Label31", {260, 84, 0, 0}}, PlaceRow {"seNum2", {284, 80, 45, 23}},
                    PlaceRow {"ckbOther", {12, 108, 15, 17}}, PlaceRow {"Label47", {28, 109, 0, 0}},
                    PlaceRow {"tbOther", {64, 106, 109, 22}}, PlaceRow {"Label32", {188, 108, 0, 0}},
                    PlaceRow {"seOther1", {212, 104, 45, 23}}, PlaceRow {"Label33", {260, 108, 0, 0}},
                    PlaceRow {"seOther2", {284, 104, 45, 23}}, PlaceRow {"Label35", {8, 140, 0, 0}},
                    PlaceRow {"cbWordMode", {92, 136, 269, 22}}, PlaceRow {"btnGo", {8, 168, 69, 21}},
                    PlaceRow {"lbPasswords", {84, 168, 277, 81}}, PlaceRow {"Label34", {16, 198, 0, 0}},
                    PlaceRow {"seGenerate", {26, 195, 45, 23}}, PlaceRow {"btnSave", {8, 224, 69, 21}}),
    test::RowName());

TEST_F(PasswordPageTest, NoTwoControlsOverlap)
{
    const QList<QWidget*> controls = window.tsPasswords->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype a = 0; a < controls.size(); ++a)
        for (qsizetype b = a + 1; b < controls.size(); ++b)
            EXPECT_FALSE(controls[a]->geometry().intersects(controls[b]->geometry()))
                << controls[a]->objectName().toStdString() << " and " << controls[b]->objectName().toStdString();
}

TEST_F(PasswordPageTest, TabOrderFollowsTheRows)
{
    const QStringList expected
        = {"seMinLen", "seMaxLen",   "ckbUpper", "seUpper1",   "seUpper2", "ckbLower",   "seLower1",
           "seLower2", "ckbNumeric", "seNum1",   "seNum2",     "ckbOther", "tbOther",    "seOther1",
           "seOther2", "cbWordMode", "btnGo",    "seGenerate", "btnSave",  "lbPasswords"};
    const QSet<QString> names(expected.begin(), expected.end());
    QStringList order;
    QWidget* w = Find<QWidget>("seMinLen");
    for (int steps = 0; steps < 200 && order.size() < expected.size(); ++steps, w = w->nextInFocusChain())
        if (names.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
    EXPECT_EQ(order, expected);
}

TEST_F(PasswordPageTest, StartsWithTheDefaults)
{
    const std::pair<const char*, const char*> texts[]
        = {{"seMinLen", "8"}, {"seMaxLen", "12"}, {"seUpper1", "1"},  {"seUpper2", "4"},
           {"seLower1", "1"}, {"seLower2", "8"},  {"seNum1", "0"},    {"seNum2", "1"},
           {"seOther1", "0"}, {"seOther2", "1"},  {"seGenerate", "9"}};
    for (const auto& [box, text] : texts)
        EXPECT_EQ(Text(box), QLatin1String(text)) << box;
    for (const char* box : {"ckbUpper", "ckbLower", "ckbNumeric", "ckbOther"})
        EXPECT_TRUE(Find<QCheckBox>(box)->isChecked()) << box;
    EXPECT_EQ(Find<QLineEdit>("tbOther")->text(), QStringLiteral("!@#$%^*"));
    EXPECT_TRUE(Find<QLineEdit>("tbOther")->isEnabled());
    EXPECT_EQ(Find<QComboBox>("cbWordMode")->count(), 4);
    EXPECT_EQ(Find<QComboBox>("cbWordMode")->view()->sizeHintForRow(0), 14);
    EXPECT_EQ(Find<QComboBox>("cbWordMode")->currentText(), QStringLiteral("Show passwords more easily pronounced"));
    EXPECT_EQ(Find<QPushButton>("btnGo")->text(), QStringLiteral("&Generate ->"));
    EXPECT_EQ(Find<QPushButton>("btnSave")->text(), QStringLiteral("&Save List"));
    EXPECT_FALSE(Find<QPushButton>("btnSave")->isEnabled());
    EXPECT_EQ(List()->count(), 0);
    EXPECT_EQ(List()->columns(), 3);
    EXPECT_EQ(List()->font().pixelSize(), 11);
    EXPECT_EQ(Find<QCheckBox>("ckbUpper")->text(), QStringLiteral("&UPPERCASE Alphabetic"));
    EXPECT_EQ(Find<QLabel>("Label27")->buddy(), Find<QWidget>("seMinLen"));
    EXPECT_EQ(Find<QLabel>("Label46")->buddy(), Find<QWidget>("ckbLower"));
    EXPECT_EQ(Find<QLabel>("Label35")->buddy(), Find<QWidget>("cbWordMode"));
    EXPECT_EQ(Find<QLabel>("Label46")->palette().color(QPalette::WindowText), QColor(0, 0, 170));
    EXPECT_EQ(Find<QLabel>("Label45")->palette().color(QPalette::WindowText), QColor(0, 170, 0));
    EXPECT_EQ(Find<QLabel>("Label47")->palette().color(QPalette::WindowText), QColor(170, 0, 0));
    EXPECT_EQ(Find<QLineEdit>("tbOther")->palette().color(QPalette::Text), QColor(170, 0, 0));
}

TEST_F(PasswordPageTest, AcceleratorsReachTheirControls)
{
    const auto alt = [this](Qt::Key key) { QTest::keyClick(&window, key, Qt::AltModifier); };
    alt(Qt::Key_W);
    EXPECT_TRUE(Find<QWidget>("seMinLen")->hasFocus());
    // The labels beside the uncaptioned check boxes focus them and leave them ticked.
    alt(Qt::Key_L);
    EXPECT_TRUE(Find<QWidget>("ckbLower")->hasFocus());
    alt(Qt::Key_O);
    EXPECT_TRUE(Find<QWidget>("ckbOther")->hasFocus());
    QTest::qWait(300);
    EXPECT_TRUE(Find<QCheckBox>("ckbLower")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("ckbOther")->isChecked());
    alt(Qt::Key_P);
    EXPECT_TRUE(Find<QWidget>("cbWordMode")->hasFocus());
    // A button's accelerator presses it with a short animation, and the click lands when it ends.
    alt(Qt::Key_U);
    QTest::qWait(300);
    EXPECT_FALSE(Find<QCheckBox>("ckbUpper")->isChecked());
    alt(Qt::Key_U);
    QTest::qWait(300);
    EXPECT_TRUE(Find<QCheckBox>("ckbUpper")->isChecked());
    alt(Qt::Key_G);
    QTest::qWait(300);
    EXPECT_EQ(List()->count(), 9);
    alt(Qt::Key_S);
    QTest::qWait(300);
    EXPECT_EQ(platform.saveDialogs, 1);
}

TEST_F(PasswordPageTest, CouplingShowsInBothBoxes)
{
    Type("seUpper1", "6");
    EXPECT_EQ(Text("seUpper1"), QStringLiteral("6"));
    EXPECT_EQ(Text("seUpper2"), QStringLiteral("6"));
    // Arrowing seMaxLen down past 8 pulls seMinLen along, and 7 is as low as it goes.
    SpinBox* maxLen = Find<SpinBox>("seMaxLen");
    maxLen->setFocus();
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(maxLen, Qt::Key_Down);
    EXPECT_EQ(Text("seMaxLen"), QStringLiteral("7"));
    EXPECT_EQ(Text("seMinLen"), QStringLiteral("7"));
}

TEST_F(PasswordPageTest, OtherCheckBoxEnablesOnlyTheOtherCharacters)
{
    Click("ckbOther");
    EXPECT_FALSE(Find<QLineEdit>("tbOther")->isEnabled());
    EXPECT_TRUE(Find<SpinBox>("seOther1")->isEnabled());
    EXPECT_TRUE(Find<SpinBox>("seOther2")->isEnabled());
    Click("ckbOther");
    EXPECT_TRUE(Find<QLineEdit>("tbOther")->isEnabled());
}

// ---- Generate and the list -----------------------------------------------------------------------------------

struct ColumnRow
{
    const char* name;
    const char* maxLength;
    int columns;
    bool scrolls;
};

class PasswordPageColumns : public PasswordPageTest, public testing::WithParamInterface<ColumnRow>
{ };

TEST_P(PasswordPageColumns, FollowTheMaximumLengthAndFillColumnByColumn)
{
    Type("seMaxLen", GetParam().maxLength);
    Click("btnGo");
    PasswordListBox* list = List();
    ASSERT_EQ(list->count(), 9);
    EXPECT_EQ(list->columns(), GetParam().columns);
    const int columnWidth = list->viewport()->width() / GetParam().columns;
    EXPECT_EQ(list->gridSize(), QSize(columnWidth, 16));
    // The first column holds as many 16-pixel rows as fit, then the second one begins.
    const int rows = list->viewport()->height() / 16;
    ASSERT_GT(rows, 0);
    for (int i = 0; i < list->count(); ++i) {
        const QRect r = list->visualItemRect(list->item(i));
        EXPECT_EQ(r.left(), (i / rows) * columnWidth) << i;
        EXPECT_EQ(r.top(), (i % rows) * 16) << i;
    }
    // The scroll area shows or hides its bar on a queued event after the range changed.
    const bool settled
        = QTest::qWaitFor([&] { return list->horizontalScrollBar()->isVisible() == GetParam().scrolls; }, 500);
    EXPECT_TRUE(settled) << "horizontal scroll bar visible: " << list->horizontalScrollBar()->isVisible();
    EXPECT_TRUE(Find<QPushButton>("btnSave")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(MaxLen, PasswordPageColumns,
                         testing::Values(ColumnRow {"Ten", "10", 3, false}, ColumnRow {"Eleven", "11", 2, true}),
                         test::RowName());

// Colours found in each character's cell of an item drawn by lbPasswordsDrawItem, the background left out.
std::vector<QSet<QRgb>> CellColours(const QImage& image, const QRect& rect, const QString& text, const QFont& font,
                                    QRgb background)
{
    std::vector<QSet<QRgb>> cells;
    const QFontMetrics metrics(font);
    int left = rect.left() + 2;
    for (const QChar ch : text) {
        const int advance = metrics.horizontalAdvance(ch);
        QSet<QRgb> colours;
        for (int x = left; x < left + advance; ++x)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                if (image.pixel(x, y) != background)
                    colours.insert(image.pixel(x, y));
        cells.push_back(colours);
        left += advance;
    }
    return cells;
}

TEST(PasswordItemDrawing, BackgroundBySelectionAndEachCharacterInItsClassColour)
{
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias); // whole pixels in the pen's colour
    const QString text = QStringLiteral("Aa0!Zz9@");
    const QRgb classColour[] = {qRgb(0, 0, 0), qRgb(0, 0, 170), qRgb(0, 170, 0), qRgb(170, 0, 0)};
    for (const bool selected : {false, true}) {
        QImage image(140, 40, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        const QRect rect(10, 12, 120, 16);
        QPainter painter(&image);
        lbPasswordsDrawItem(painter, rect, text, selected, font);
        painter.end();

        const QRgb background = selected ? qRgb(221, 221, 221) : qRgb(255, 255, 255);
        EXPECT_EQ(image.pixel(rect.topLeft()), background);
        EXPECT_EQ(image.pixel(rect.bottomRight()), background);
        EXPECT_EQ(image.pixel(rect.left() + 1, rect.center().y()), background);
        // Nothing outside the item's rectangle.
        EXPECT_EQ(image.pixel(rect.left() - 1, rect.top()), qRgb(255, 0, 255));
        EXPECT_EQ(image.pixel(rect.left(), rect.bottom() + 1), qRgb(255, 0, 255));

        const std::vector<QSet<QRgb>> cells = CellColours(image, rect, text, font, background);
        for (qsizetype i = 0; i < text.size(); ++i)
            EXPECT_EQ(cells[static_cast<size_t>(i)], QSet<QRgb> {classColour[i % 4]})
                << "character " << i << (selected ? " selected" : "");
    }
}

TEST_F(PasswordPageTest, SelectedItemIsGreyTheOthersWhite)
{
    Click("btnGo");
    PasswordListBox* list = List();
    ASSERT_EQ(list->count(), 9);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    ASSERT_EQ(list->currentRow(), 1);
    const QImage image = list->viewport()->grab().toImage();
    const auto rightEdge = [&](int row) {
        const QRect r = list->visualItemRect(list->item(row));
        return image.pixelColor(r.right() - 3, r.center().y());
    };
    EXPECT_EQ(rightEdge(1), QColor(221, 221, 221));
    EXPECT_EQ(rightEdge(0), QColor(Qt::white));
    EXPECT_EQ(rightEdge(2), QColor(Qt::white));
}

TEST_F(PasswordPageTest, DoubleClickCopiesThePasswordAndSaysSo)
{
    Click("btnGo");
    ASSERT_EQ(List()->count(), 9);
    const std::string password = List()->item(4)->text().toStdString();
    DoubleClickRow(4);
    EXPECT_EQ(platform.clipboard, std::vector<std::string> {password});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, "information");
    EXPECT_EQ(platform.messages[0].title, "Information");
    EXPECT_EQ(platform.messages[0].text, "\"" + password + "\" has been copied to the clipboard.");
}

TEST_F(PasswordPageTest, DoubleClickOnAnEmptyListDoesNothing)
{
    DoubleClickRow(-1);
    EXPECT_TRUE(platform.clipboard.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PasswordPageTest, GenerateThatFindsNothingEmptiesTheListAndDisablesSave)
{
    Click("btnGo");
    ASSERT_EQ(List()->count(), 9);
    ASSERT_TRUE(Find<QPushButton>("btnSave")->isEnabled());

    // Only digits, always of an allowed length, and mode 3 turns every such candidate down.
    Click("ckbUpper");
    Click("ckbLower");
    Click("ckbOther");
    Type("seNum2", "12");
    Type("seNum1", "8");
    QComboBox* mode = Find<QComboBox>("cbWordMode");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_End);
    ASSERT_EQ(mode->currentIndex(), 3);
    platform.tickStep = 50;
    int listedDuringWarning = -1;
    platform.onWarning = [&] { listedDuringWarning = List()->count(); };
    Click("btnGo");
    // The previous passwords are gone from the screen before the run, not only once the warning is closed.
    EXPECT_EQ(listedDuringWarning, 0);
    EXPECT_EQ(List()->count(), 0);
    EXPECT_FALSE(Find<QPushButton>("btnSave")->isEnabled());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, "warning");
    EXPECT_EQ(platform.messages[0].text, "The current combination of options does not produce any possible results.");
    EXPECT_EQ(platform.busyCursor, (std::vector<bool> {true, false, true, false}));
}

struct StrengthRow
{
    const char* name;
    Qt::Key modeKey; // picks the mode in cbWordMode; Qt::Key_unknown keeps the default
    int32_t mode;
};

class PasswordPageStrength : public PasswordPageTest, public testing::WithParamInterface<StrengthRow>
{ };

// The list tells the strength of the settings Generate used once a pool thread has worked it out; Generate with
// the same settings tells it at once.
TEST_P(PasswordPageStrength, ListTellsTheStrengthOfTheSettingsAfterGenerate)
{
    if (GetParam().modeKey != Qt::Key_unknown) {
        QComboBox* mode = Find<QComboBox>("cbWordMode");
        mode->setFocus();
        QTest::keyClick(mode, GetParam().modeKey);
    }
    TPasswordSettings settings;
    settings.Mode = GetParam().mode;
    const QString tip
        = QString::fromStdString(StrengthTip(MeasureStrength(settings, TStringListComp(LetterPairList()))));
    ASSERT_TRUE(tip.startsWith("Each password of these settings: ")) << tip.toStdString();
    Click("btnGo");
    EXPECT_TRUE(QTest::qWaitFor([&] { return List()->toolTip() == tip; }, 20000)) << List()->toolTip().toStdString();
    EXPECT_EQ(List()->accessibleDescription(), tip);
    Click("btnGo");
    EXPECT_EQ(List()->toolTip(), tip);
}

INSTANTIATE_TEST_SUITE_P(Modes, PasswordPageStrength,
                         testing::Values(StrengthRow {"EasilyPronounced", Qt::Key_unknown, 1},
                                         StrengthRow {"Random", Qt::Key_Home, 0}),
                         test::RowName());

// A Generate with other settings while the first one's strength is still being worked out: the page works out
// one at a time, and the last settings get their tip once the first is done.
TEST_F(PasswordPageTest, ASecondGenerateGetsItsTipAfterTheFirstIsWorkedOut)
{
    const auto tipOf = [](int32_t mode) {
        TPasswordSettings settings;
        settings.Mode = mode;
        return QString::fromStdString(StrengthTip(MeasureStrength(settings, TStringListComp(LetterPairList()))));
    };
    Click("btnGo"); // its result can reach the page only once events are handled, after the second Generate
    QComboBox* mode = Find<QComboBox>("cbWordMode");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Home);
    Click("btnGo");
    EXPECT_TRUE(QTest::qWaitFor([&] { return List()->toolTip() == tipOf(0); }, 20000))
        << List()->toolTip().toStdString();
}

TEST_F(PasswordPageTest, GenerateClampsTheFocusedBoxFirst)
{
    platform.tickStep = 0; // the defaults always succeed; 999 of them take more clock reads than the run limit
    Type("seGenerate", "5000");
    // Pressed from code, the button takes no focus: the box is still being typed in when the run starts.
    Find<QPushButton>("btnGo")->click();
    ASSERT_TRUE(Find<SpinBox>("seGenerate")->hasFocus());
    EXPECT_EQ(Text("seGenerate"), QStringLiteral("999"));
    EXPECT_EQ(List()->count(), 999);
}

} // namespace
} // namespace tarvelle
