#include "dialogs/EditNameForm.h"

#include "dialogs/BoxBehaviour.h"
#include "dialogs/DialogButton.h"
#include "dialogs/EditCaption.h"
#include "dialogs/FormFont.h"
#include "dialogs/ModalResult.h"
#include "dialogs/NameVerdict.h"
#include "dialogs/SelectedCell.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

namespace dialogs {

EditNameForm::EditNameForm(SelectedCell& cell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_cell(cell)
    , m_name(new QLineEdit(this))
    , m_verdictLabel(new QLabel(this))
    , m_save(makeDialogButton(QStringLiteral("Save"), "Save", this, QRect(56, 76, 75, 25)))
    , m_close(makeDialogButton(QStringLiteral("Close"), "Close", this, QRect(272, 76, 75, 25)))
    , m_verdict(new NameVerdict(*m_name, *m_verdictLabel, *m_save))
{
    setObjectName(QStringLiteral("EditNameForm"));
    setWindowTitle(editCaption(QStringLiteral("Edit Name"), QString()));
    setFont(formFont());
    setFixedSize(390, 109);

    m_name->setObjectName(QStringLiteral("EditName"));
    m_name->setGeometry(8, 12, 369, 21);
    m_name->setMaxLength(std::numeric_limits<int>::max());
    m_verdictLabel->setObjectName(QStringLiteral("NameVerdict"));
    m_verdictLabel->setGeometry(8, 38, 369, 32);
    m_verdictLabel->hide();
    m_verdict->setWarning([this](const QString& name) { return m_cell.renameWarning(name); });

    connect(m_save, &QPushButton::clicked, this, &EditNameForm::save);
    connect(m_close, &QPushButton::clicked, this, &EditNameForm::reject);
    // Return in the box saves, as in any one-line field.
    connect(m_name, &QLineEdit::returnPressed, this, [this] {
        if (m_save->isEnabled())
            save();
    });
    selectAllOnFocus(*m_name);
    acceptOnCtrlEnter(*this, *m_save);

    setTabOrder(m_name, m_save);
    setTabOrder(m_save, m_close);
}

void EditNameForm::showEvent(QShowEvent* event)
{
    // A spontaneous show is the window system restoring the dialog: the
    // name being typed stays.
    if (!event->spontaneous()) {
        setWindowTitle(editCaption(QStringLiteral("Edit Name"), m_cell.selectedEntryLabel()));
        m_name->setText(m_cell.selectedCellText());
        m_verdict->refresh();
        m_name->setFocus(Qt::OtherFocusReason);
        m_name->selectAll();
    }
    QDialog::showEvent(event);
}

void EditNameForm::save()
{
    m_cell.setSelectedCellText(m_name->text());
    done(ModalOk);
}

void EditNameForm::reject()
{
    done(ModalCancel);
}

} // namespace dialogs
