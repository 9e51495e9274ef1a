#include "app/MessageBoxes.h"

#include "app/WindowCaptions.h"

#include <QMessageBox>

namespace app {

SystemMessageBoxes::SystemMessageBoxes(QWidget& owner)
    : m_owner(owner)
{
}

void SystemMessageBoxes::showBadLanguageFile()
{
    QMessageBox box(
        QMessageBox::NoIcon, QStringLiteral("Error"), QStringLiteral("Bad Language File"), QMessageBox::Ok, &m_owner);
    box.exec();
}

void SystemMessageBoxes::showError(const QString& text)
{
    // Plain text: a message quoting a cell must not be read as markup.
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, &m_owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

SaveChoice SystemMessageBoxes::askSaveChanges(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &m_owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

void SystemMessageBoxes::showInformation(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, &m_owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace app
