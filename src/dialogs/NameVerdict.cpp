#include "dialogs/NameVerdict.h"

#include "text/LineBreaks.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace dialogs {

NameVerdict::NameVerdict(QLineEdit& box, QLabel& label, QAbstractButton& accept)
    : QObject(&label)
    , m_box(box)
    , m_label(label)
    , m_accept(accept)
{
    m_label.setTextFormat(Qt::PlainText);
    m_label.setWordWrap(true);
    connect(&m_box, &QLineEdit::textChanged, this, &NameVerdict::refresh);
}

void NameVerdict::setWarning(NameWarning warning)
{
    m_warning = std::move(warning);
}

QString NameVerdict::refusalText()
{
    return QStringLiteral("A name is one line: remove its line break or tab.");
}

void NameVerdict::refresh()
{
    const QString name = m_box.text();
    const bool refused = text::breaksLineOrTabs(name);
    m_accept.setEnabled(!refused);
    const QString said = refused ? refusalText() : (m_warning ? m_warning(name) : QString());
    m_label.setStyleSheet(refused ? QStringLiteral("color: #b00000") : QStringLiteral("color: #9a5b00"));
    m_label.setText(said);
    m_label.setVisible(!said.isEmpty());
}

} // namespace dialogs
