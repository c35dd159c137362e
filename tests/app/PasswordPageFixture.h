// The Password page inside a shown main window, for the page's GUI tests: a fake desktop whose file writing
// is the real one, and helpers that type, click and read the page's controls by name.
#pragma once

#include "FakePlatform.h"
#include "HembryTabs.h"
#include "PasswordList.h"
#include "PasswordPage.h"
#include "QtPlatform.h"
#include "SpinBox.h"
#include "Tarvelle01.h"

#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace tarvelle::test {

/// A fake desktop whose file writing is the real one, for the saves that must fail on a real file system; it
/// can look at the window while a warning is up.
class RealFilesPlatform : public FakePlatform
{
public:
    std::optional<std::string> writeFile(const std::string& path, const std::string& bytes) override
    {
        return real.writeFile(path, bytes);
    }
    void showWarning(const std::string& title, const std::string& text) override
    {
        FakePlatform::showWarning(title, text);
        if (onWarning)
            onWarning();
    }

    QtPlatform real;
    std::function<void()> onWarning;
};

class PasswordPageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // The clock moves, so a run that can find nothing gives up instead of holding the test.
        platform.tickStep = 1;
        window.pcMain->setCurrentWidget(window.tsPasswords);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <class W> W* Find(const char* name)
    {
        W* w = window.tsPasswords->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // Replaces a spin box's text by typing, as the user does after selecting it.
    void Type(const char* box, const char* text)
    {
        SpinBox* spin = Find<SpinBox>(box);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QLatin1String(text));
    }

    void Click(const char* widget) { QTest::mouseClick(Find<QAbstractButton>(widget), Qt::LeftButton); }
    QString Text(const char* box) { return Find<SpinBox>(box)->text(); }
    PasswordListBox* List() { return Find<PasswordListBox>("lbPasswords"); }

    QStringList Items()
    {
        QStringList items;
        for (int row = 0; row < List()->count(); ++row)
            items << List()->item(row)->text();
        return items;
    }

    // Double-clicks the list at an item's centre (row -1: below the last item).
    void DoubleClickRow(int row)
    {
        PasswordListBox* list = List();
        const QPoint at
            = row >= 0 ? list->visualItemRect(list->item(row)).center() : QPoint(2, list->viewport()->height() - 2);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    RealFilesPlatform platform;
    TfrmBandwidthCalc window {platform};
};

} // namespace tarvelle::test
