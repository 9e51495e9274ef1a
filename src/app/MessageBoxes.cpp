#include "app/MessageBoxes.h"

#include "app/WindowCaptions.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace app {

SystemMessageBoxes::SystemMessageBoxes(QWidget& owner)
    : m_owner(owner)
{
}

void SystemMessageBoxes::showBadLanguageFile(const QString& detail)
{
    QMessageBox box(
        QMessageBox::NoIcon, QStringLiteral("Error"), QStringLiteral("Bad Language File"), QMessageBox::Ok, &m_owner);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

void SystemMessageBoxes::showError(const QString& text)
{
    showErrorWithDetails(text, QString());
}

void SystemMessageBoxes::showErrorWithDetails(const QString& text, const QString& details)
{
    // Plain text: a message quoting a cell must not be read as markup.
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, &m_owner);
    box.setTextFormat(Qt::PlainText);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

SaveChoice SystemMessageBoxes::askSaveChanges(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::NoButton, &m_owner);
    box.setTextFormat(Qt::PlainText);
    // Buttons of their own, for their mnemonics: Alt+S, Alt+D, Alt+C.
    QPushButton* const save = box.addButton(QStringLiteral("&Save"), QMessageBox::AcceptRole);
    QPushButton* const discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    QPushButton* const cancel = box.addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    if (box.clickedButton() == discard)
        return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

bool SystemMessageBoxes::askReplaceFile(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::NoButton, &m_owner);
    box.setTextFormat(Qt::PlainText);
    QPushButton* const replace = box.addButton(QStringLiteral("&Replace"), QMessageBox::DestructiveRole);
    QPushButton* const cancel = box.addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole);
    // Return must not destroy a file: Cancel is the default.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == replace;
}

bool SystemMessageBoxes::askDropRemoved(const QString& text)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton, &m_owner);
    box.setTextFormat(Qt::PlainText);
    QPushButton* const keep = box.addButton(QStringLiteral("&Keep Them"), QMessageBox::RejectRole);
    QPushButton* const drop = box.addButton(QStringLiteral("&Drop Them"), QMessageBox::DestructiveRole);
    // Return keeps every entry: dropping is asked for, never fallen into.
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == drop;
}

bool SystemMessageBoxes::askFix(const QString& text)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton, &m_owner);
    box.setTextFormat(Qt::PlainText);
    QPushButton* const fix = box.addButton(QStringLiteral("&Fix"), QMessageBox::AcceptRole);
    QPushButton* const cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == fix;
}

std::optional<review::ReviewLanguages> SystemMessageBoxes::askLanguages(
    const QString& text, const review::ReviewLanguages& guess)
{
    QDialog dialog(&m_owner);
    dialog.setWindowTitle(applicationTitle());
    auto* const layout = new QFormLayout(&dialog);
    auto* const told = new QLabel(text, &dialog);
    told->setTextFormat(Qt::PlainText);
    told->setWordWrap(true);
    layout->addRow(told);
    auto* const source = new QLineEdit(guess.source, &dialog);
    auto* const target = new QLineEdit(guess.target, &dialog);
    layout->addRow(QStringLiteral("&Reference's language:"), source);
    layout->addRow(QStringLiteral("&Translation's language:"), target);
    auto* const buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return review::ReviewLanguages{source->text().trimmed(), target->text().trimmed()};
}

RecoverChoice SystemMessageBoxes::askRecover(const QString& text, const bool canRecover)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton, &m_owner);
    box.setTextFormat(Qt::PlainText);
    QPushButton* const recover
        = canRecover ? box.addButton(QStringLiteral("&Recover"), QMessageBox::AcceptRole) : nullptr;
    QPushButton* const discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    QPushButton* const later = box.addButton(QStringLiteral("&Later"), QMessageBox::RejectRole);
    box.setDefaultButton(recover ? recover : later);
    box.setEscapeButton(later);
    box.exec();
    if (recover && box.clickedButton() == recover)
        return RecoverChoice::Recover;
    return box.clickedButton() == discard ? RecoverChoice::Discard : RecoverChoice::Later;
}

void SystemMessageBoxes::showInformation(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, &m_owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void SystemMessageBoxes::showShortcuts(const QList<QPair<QString, QString>>& rows)
{
    // A table keeps the keys in one column whatever the font.
    QString table = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (const auto& [what, keys] : rows) {
        table += QStringLiteral("<tr><td>%1</td><td>&nbsp;&nbsp;<b>%2</b></td></tr>")
                     .arg(what.toHtmlEscaped(), keys.toHtmlEscaped());
    }
    table += QStringLiteral("</table>");
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Keyboard Shortcuts"), table, QMessageBox::Ok, &m_owner);
    box.setTextFormat(Qt::RichText);
    box.exec();
}

} // namespace app
