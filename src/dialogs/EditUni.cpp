#include "dialogs/EditUni.h"

#include "dialogs/BoxBehaviour.h"
#include "dialogs/DialogButton.h"
#include "dialogs/EditCaption.h"
#include "dialogs/FormFont.h"
#include "dialogs/ModalResult.h"
#include "dialogs/PlainTextBox.h"
#include "dialogs/SelectedCell.h"
#include "dialogs/Speller.h"
#include "dialogs/SpellingHighlighter.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextCursor>

#include <optional>

namespace dialogs {

namespace {

// The designed dialog; the reference takes this much more room above.
constexpr QSize DesignedSize(390, 296);
constexpr int ReferenceHeight = 116;

} // namespace

TEditForm::TEditForm(SelectedCell& cell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_cell(cell)
    , RichEdit1(new PlainTextBox(this))
    , Button1(makeDialogButton(QStringLiteral("Save"), "Button1", this, QRect(56, 264, 75, 25)))
    , Button2(makeDialogButton(QStringLiteral("Close"), "Button2", this, QRect(272, 264, 75, 25)))
    , m_referenceLabel(new QLabel(this))
    , m_reference(new QPlainTextEdit(this))
    , m_spelling(new SpellingHighlighter(RichEdit1->document()))
{
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(QStringLiteral("Edit Text"));
    setFont(formFont());

    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    m_referenceLabel->setObjectName(QStringLiteral("ReferenceLabel"));
    m_referenceLabel->setTextFormat(Qt::PlainText);
    m_reference->setObjectName(QStringLiteral("ReferenceText"));
    m_reference->setReadOnly(true);
    m_reference->setFocusPolicy(Qt::NoFocus);
    m_reference->setBackgroundRole(QPalette::Window);
    layOut(false);

    connect(Button1, &QPushButton::clicked, this, &TEditForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TEditForm::Button2Click);

    selectAllOnFocus(*RichEdit1);
    acceptOnCtrlEnter(*this, *Button1);
    for (const QKeySequence& key :
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Enter)}) {
        auto* const next = new QShortcut(key, this);
        connect(next, &QShortcut::activated, this, &TEditForm::saveAndGoOn);
    }
    auto* const copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_B), this);
    connect(copy, &QShortcut::activated, this, &TEditForm::copyReference);

    setTabOrder(RichEdit1, Button1);
    setTabOrder(Button1, Button2);

    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        QMenu* const menu = contextMenuAt(position);
        menu->exec(RichEdit1->viewport()->mapToGlobal(position));
        delete menu;
    });
}

void TEditForm::setSpeller(Speller* const speller)
{
    m_speller = speller;
    m_spelling->setSpeller(speller);
}

QMenu* TEditForm::contextMenuAt(const QPoint& position)
{
    QMenu* const menu = RichEdit1->createStandardContextMenu(position);
    if (!m_speller)
        return menu;
    // The misspelt word under the point, if any: words never cross a line.
    const QTextCursor at = RichEdit1->cursorForPosition(position);
    const QTextBlock block = at.block();
    const qsizetype inBlock = at.position() - block.position();
    for (const auto& [start, length] : m_speller->misspelt(block.text())) {
        if (inBlock < start || inBlock > start + length)
            continue;
        const QString word = block.text().mid(start, length);
        QAction* const first = menu->actions().value(0);
        const auto addBefore = [&](QAction* const action) { menu->insertAction(first, action); };
        const QStringList corrections = m_speller->suggestions(word);
        for (const QString& correction : corrections) {
            auto* const replace = new QAction(correction, menu);
            connect(replace, &QAction::triggered, this, [this, block, start = start, length = length, correction] {
                QTextCursor cursor(RichEdit1->document());
                cursor.setPosition(block.position() + static_cast<int>(start));
                cursor.setPosition(block.position() + static_cast<int>(start + length), QTextCursor::KeepAnchor);
                cursor.insertText(correction);
            });
            addBefore(replace);
        }
        if (corrections.isEmpty()) {
            auto* const none = new QAction(QStringLiteral("(no corrections)"), menu);
            none->setEnabled(false);
            addBefore(none);
        }
        auto* const add = new QAction(QStringLiteral("Add to Dictionary"), menu);
        connect(add, &QAction::triggered, this, [this, word] {
            m_speller->addToDictionary(word);
            m_spelling->rehighlight();
        });
        addBefore(add);
        menu->insertSeparator(first);
        break;
    }
    return menu;
}

void TEditForm::layOut(const bool withReference)
{
    const int shift = withReference ? ReferenceHeight : 0;
    setFixedSize(DesignedSize.width(), DesignedSize.height() + shift);
    m_referenceLabel->setGeometry(8, 8, 369, 16);
    m_reference->setGeometry(8, 26, 369, ReferenceHeight - 26);
    m_referenceLabel->setVisible(withReference);
    m_reference->setVisible(withReference);
    RichEdit1->setGeometry(8, 8 + shift, 369, 249);
    Button1->move(56, 264 + shift);
    Button2->move(272, 264 + shift);
}

void TEditForm::setVisible(const bool visible)
{
    if (visible && !isVisible())
        layOut(m_cell.referenceIsOpen());
    QDialog::setVisible(visible);
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
    setWindowTitle(editCaption(QStringLiteral("Edit Text"), m_cell.selectedEntryLabel()));
    if (m_cell.referenceIsOpen()) {
        const std::optional<QString> reference = m_cell.selectedReferenceText();
        m_referenceLabel->setText(reference ? QStringLiteral("Reference (Ctrl+B copies it into the text):")
                                            : QStringLiteral("Reference: no entry of this name"));
        m_reference->setPlainText(reference.value_or(QString()));
    }
    RichEdit1->setText(m_cell.selectedCellText());
    RichEdit1->setFocus(Qt::OtherFocusReason);
}

void TEditForm::Button1Click()
{
    // The grid takes no input while the dialog is shown, so the selection is
    // the one FormShow read.
    m_cell.setSelectedCellText(RichEdit1->text());
    done(ModalOk);
}

void TEditForm::saveAndGoOn()
{
    m_cell.setSelectedCellText(RichEdit1->text());
    done(ModalOkNext);
}

void TEditForm::Button2Click()
{
    reject();
}

void TEditForm::reject()
{
    done(ModalCancel);
}

void TEditForm::copyReference()
{
    const std::optional<QString> reference = m_cell.selectedReferenceText();
    if (!reference)
        return;
    // Through the cursor, so that the box's own undo takes it back.
    QTextCursor cursor(RichEdit1->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(*reference);
    RichEdit1->setTextCursor(cursor);
}

} // namespace dialogs
