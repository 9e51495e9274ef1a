#include "dialogs/GoToForm.h"

#include "dialogs/BoxBehaviour.h"
#include "dialogs/DialogButton.h"
#include "dialogs/FormFont.h"
#include "dialogs/ModalResult.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

namespace dialogs {

GoToForm::GoToForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_query(new QLineEdit(this))
    , m_result(new QLabel(this))
    , m_go(makeDialogButton(QStringLiteral("Go"), "Go", this, QRect(56, 84, 75, 25)))
    , m_close(makeDialogButton(QStringLiteral("Close"), "Close", this, QRect(168, 84, 75, 25)))
{
    setObjectName(QStringLiteral("GoToForm"));
    setWindowTitle(QStringLiteral("Go to Entry"));
    setFont(formFont());
    setFixedSize(300, 117);

    auto* const label = new QLabel(QStringLiteral("Entry &number or name:"), this);
    label->setGeometry(8, 8, 284, 16);
    label->setBuddy(m_query);
    m_query->setObjectName(QStringLiteral("Query"));
    m_query->setGeometry(8, 26, 284, 21);
    m_query->setMaxLength(std::numeric_limits<int>::max());
    m_result->setObjectName(QStringLiteral("Result"));
    m_result->setGeometry(8, 52, 284, 28);
    m_result->setTextFormat(Qt::PlainText);
    m_result->setWordWrap(true);
    m_result->setStyleSheet(QStringLiteral("color: #b00000"));

    connect(m_go, &QPushButton::clicked, this, &GoToForm::go);
    connect(m_close, &QPushButton::clicked, this, &GoToForm::reject);
    connect(m_query, &QLineEdit::returnPressed, this, &GoToForm::go);
    connect(m_query, &QLineEdit::textChanged, m_result, &QLabel::clear);
    selectAllOnFocus(*m_query);
}

void GoToForm::setGoTo(GoTo goTo)
{
    m_goTo = std::move(goTo);
}

void GoToForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_result->clear();
        m_query->setFocus(Qt::OtherFocusReason);
        m_query->selectAll();
    }
    QDialog::showEvent(event);
}

void GoToForm::go()
{
    const QString query = m_query->text();
    if (query.trimmed().isEmpty())
        return;
    if (m_goTo && m_goTo(query)) {
        done(ModalOk);
        return;
    }
    m_result->setText(QStringLiteral("No entry is numbered or named \u201C%1\u201D.").arg(query.trimmed()));
}

void GoToForm::reject()
{
    done(ModalCancel);
}

} // namespace dialogs
