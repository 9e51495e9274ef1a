#pragma once

#include <QDialog>

class QPushButton;
class QShowEvent;

namespace dialogs {

class PlainTextBox;
class SelectedCell;

// The Edit dialog: rewrites the main grid's selected cell, whatever column it
// is in. Each showing loads the cell's text; "Save" writes the whole text
// back, "Close" and the close box write nothing.
class TEditForm : public QDialog {
    Q_OBJECT

public:
    // cell must outlive the dialog.
    explicit TEditForm(SelectedCell& cell, QWidget* parent = nullptr);

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    SelectedCell& m_cell;
    PlainTextBox* RichEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
};

} // namespace dialogs
