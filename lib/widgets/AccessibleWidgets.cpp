#include "AccessibleWidgets.h"

#include "LinkLabel.h"
#include "ResultLabel.h"

#include <QAccessibleWidget>

namespace tarvelle {

namespace {

// A result: its name is the text it shows, as Qt on Linux names every label (the bridge carries a label's name
// and nothing of its value); its caption is the labelled-by relation of the label whose buddy it is, or its
// description. A result not yet computed shows one blank, which is read as nothing.
class AccessibleResult : public QAccessibleWidget
{
public:
    explicit AccessibleResult(ResultLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString shown = static_cast<ResultLabel*>(widget())->text();
            return shown.trimmed().isEmpty() ? QString() : shown;
        }
        return QAccessibleWidget::text(t);
    }
};

class AccessibleLink : public QAccessibleWidget
{
public:
    explicit AccessibleLink(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<LinkLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override { return QStringList {pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<LinkLabel*>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* Describe(const QString& className, QObject* object)
{
    if (className == QLatin1String("tarvelle::ResultLabel")) {
        return new AccessibleResult(static_cast<ResultLabel*>(object));
    } else if (className == QLatin1String("tarvelle::LinkLabel")) {
        return new AccessibleLink(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

} // namespace

void TieCaption(QLabel* caption, ResultLabel* result)
{
    caption->setBuddy(result);
}

void InstallAccessibleWidgets()
{
    static const bool installed = [] {
        QAccessible::installFactory(&Describe);
        return true;
    }();
    static_cast<void>(installed);
}

} // namespace tarvelle
