#pragma once

#include <QDialog>

class QLabel;
class QMenu;
class QPoint;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace dialogs {

class PlainTextBox;
class SelectedCell;
class Speller;
class SpellingHighlighter;

// The Edit dialog: rewrites the text of the main grid's selected cell. Each
// showing loads the cell's text and names its entry in the caption; "Save"
// (or Ctrl+Enter) writes the whole text back, "Close" and the close box
// write nothing. Ctrl+Shift+Enter saves too and ends with ModalOkNext, so
// that the window goes on to the next entry that needs work.
//
// While a reference language is open the entry's reference text stands
// read-only above the box, which moves down to make room; Ctrl+B puts it
// into the box, as an edit the box can undo.
class TEditForm : public QDialog {
    Q_OBJECT

public:
    // cell must outlive the dialog.
    explicit TEditForm(SelectedCell& cell, QWidget* parent = nullptr);

    // Takes the layout the next showing needs before the window appears: a
    // window resized while it is being mapped may stay unpainted.
    void setVisible(bool visible) override;

    // The speller that underlines misspelt words as one types and offers
    // corrections on the box's context menu; none: no spelling. It must
    // outlive the dialog or be taken away first.
    void setSpeller(Speller* speller);
    // The box's context menu for a point of its viewport: over a misspelt
    // word, its corrections (each replaces the word, as an edit the box can
    // undo) and "Add to Dictionary" come first. The caller owns the menu.
    [[nodiscard]] QMenu* contextMenuAt(const QPoint& position);

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void reject() override;
    // Ctrl+B: the reference text replaces the box's text.
    void copyReference();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The designed layout, or the one with the reference above the box.
    void layOut(bool withReference);
    void saveAndGoOn();

    SelectedCell& m_cell;
    PlainTextBox* RichEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QLabel* m_referenceLabel;
    QPlainTextEdit* m_reference;
    Speller* m_speller = nullptr;
    SpellingHighlighter* m_spelling;
};

} // namespace dialogs
