#include "AccessibleWidgets.h"

#include "LinkLabel.h"
#include "ResultLabel.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QRegularExpression>

namespace tarvelle {

namespace {

QString WithoutMnemonic(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

// A pick-only list: named by its accessible name or caption, its current item as the value, its drop-down
// list as the one child, opened and closed by its actions.
class AccessiblePickList : public QAccessibleWidget
{
public:
    explicit AccessiblePickList(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? combo()->currentText() : own;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == combo()->view() ? 0 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

class AccessibleResult : public QAccessibleWidget
{
public:
    explicit AccessibleResult(ResultLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) { }

    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<ResultLabel*>(widget());
        if (t == QAccessible::Name)
            return label->caption();
        if (t == QAccessible::Value)
            return label->text();
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
    if (className == QLatin1String("QComboBox")) {
        if (auto* combo = qobject_cast<QComboBox*>(object); combo && !combo->isEditable())
            return new AccessiblePickList(combo);
    } else if (className == QLatin1String("tarvelle::ResultLabel")) {
        return new AccessibleResult(static_cast<ResultLabel*>(object));
    } else if (className == QLatin1String("tarvelle::LinkLabel")) {
        return new AccessibleLink(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

} // namespace

QString ResultLabel::caption() const
{
    if (!accessibleName().isEmpty())
        return accessibleName();
    if (parentWidget()) {
        for (const QLabel* sibling : parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (sibling->buddy() == this)
                return WithoutMnemonic(sibling->text());
    }
    return {};
}

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
