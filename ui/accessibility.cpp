// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "accessibility.h"

#include "rankselector.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace accessibility
{

namespace
{

// A selector as a combo box with two children, the list and the edit field, like Qt's own, but
// named by its accessible name with the shown text as its value.
class SelectorInterface final : public QAccessibleWidget
{
public:
    explicit SelectorInterface(RankSelector *selector)
        : QAccessibleWidget(selector, QAccessible::ComboBox)
    {
    }

    int childCount() const override { return 2; }

    QAccessibleInterface *child(int index) const override
    {
        switch (index) {
        case 0:
            return QAccessible::queryAccessibleInterface(selector()->view());
        case 1:
            return QAccessible::queryAccessibleInterface(selector()->lineEdit());
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == selector()->view())
            return 0;
        if (child->object() == selector()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *edit = child(1);
        return edit && edit->rect().contains(x, y) ? edit : nullptr;
    }

    // The edit field holds the keyboard focus on the selector's behalf.
    QAccessibleInterface *focusChild() const override
    {
        return selector()->hasFocus() ? child(1) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return selector()->accessibleName();
        case QAccessible::Value:
            return selector()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (selector()->view()->isVisible())
            selector()->hidePopup();
        else
            selector()->showPopup();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    RankSelector *selector() const { return static_cast<RankSelector *>(widget()); }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(RankSelector::staticMetaObject.className()))
        return new SelectorInterface(static_cast<RankSelector *>(object));
    if (className == QLatin1String(AnswerNotice::staticMetaObject.className()))
        return new QAccessibleWidget(
            static_cast<AnswerNotice *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void installInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString spokenAnswer(const QString &result)
{
    return result.isEmpty() ? QStringLiteral("no win chance")
                            : QStringLiteral("win chance ") + result;
}

} // namespace accessibility

AnswerNotice::AnswerNotice(QWidget *parent)
    : QWidget(parent)
{
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Silent until there is an answer to tell, even when the window around it is shown.
    hide();
}

void AnswerNotice::announce(const QString &text)
{
    setAccessibleName(text);
    // Appearing is what the screen reader speaks, so the notice appears anew for each answer.
    hide();
    show();
}
