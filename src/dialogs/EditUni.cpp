#include "dialogs/EditUni.h"

#include "dialogs/BoxBehaviour.h"
#include "dialogs/DialogButton.h"
#include "dialogs/FormFont.h"
#include "dialogs/ModalResult.h"
#include "dialogs/PlainTextBox.h"
#include "dialogs/SelectedCell.h"

#include <QPushButton>
#include <QShowEvent>

namespace dialogs {

TEditForm::TEditForm(SelectedCell& cell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_cell(cell)
    , RichEdit1(new PlainTextBox(this))
    , Button1(makeDialogButton(QStringLiteral("Save"), "Button1", this, QRect(56, 264, 75, 25)))
    , Button2(makeDialogButton(QStringLiteral("Close"), "Button2", this, QRect(272, 264, 75, 25)))
{
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(QStringLiteral("Edit Text"));
    setFont(formFont());
    setFixedSize(390, 296);

    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(8, 8, 369, 249);

    connect(Button1, &QPushButton::clicked, this, &TEditForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TEditForm::Button2Click);

    selectAllOnFocus(*RichEdit1);
    acceptOnCtrlEnter(*this, *Button1);

    setTabOrder(RichEdit1, Button1);
    setTabOrder(Button1, Button2);
}

void TEditForm::showEvent(QShowEvent* event)
{
    // A spontaneous show is the window system restoring the dialog, not a new
    // showing: the text being edited stays.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TEditForm::FormShow()
{
    RichEdit1->setText(m_cell.selectedCellText());
}

void TEditForm::Button1Click()
{
    // The grid takes no input while the dialog is shown, so the selection is
    // the one FormShow read.
    m_cell.setSelectedCellText(RichEdit1->text());
    done(ModalOk);
}

void TEditForm::Button2Click()
{
    reject();
}

void TEditForm::reject()
{
    done(ModalCancel);
}

} // namespace dialogs
