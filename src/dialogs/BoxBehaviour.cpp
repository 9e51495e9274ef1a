#include "dialogs/BoxBehaviour.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>

namespace dialogs {

namespace {

class SelectAllOnFocus final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Before the box's own focus handling: a click that gave the focus
        // then places the cursor as usual.
        if (event->type() == QEvent::FocusIn) {
            if (auto* const line = qobject_cast<QLineEdit*>(watched))
                line->selectAll();
            else if (auto* const text = qobject_cast<QPlainTextEdit*>(watched))
                text->selectAll();
        }
        return false;
    }
};

class ClickOnReturn final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* const key = static_cast<const QKeyEvent*>(event);
        const bool plain = key->modifiers() == Qt::NoModifier
                        || (key->key() == Qt::Key_Enter && key->modifiers() == Qt::KeypadModifier);
        if (!plain || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter))
            return false;
        auto* const button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void selectAllOnFocus(QWidget& box)
{
    box.installEventFilter(new SelectAllOnFocus(&box));
}

void clickOnReturn(QAbstractButton& button)
{
    button.installEventFilter(new ClickOnReturn(&button));
}

void acceptOnCtrlEnter(QDialog& dialog, QAbstractButton& accept)
{
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* const shortcut = new QShortcut(key, &dialog);
        QObject::connect(shortcut, &QShortcut::activated, &accept, [&accept] {
            if (accept.isEnabled())
                accept.click();
        });
    }
}

} // namespace dialogs
