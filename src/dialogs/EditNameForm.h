#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace dialogs {

class NameVerdict;
class SelectedCell;

// The Edit dialog of a Name cell: a name is one line, so it is edited in a
// single-line box where Return saves. Each showing loads the selected cell's
// name and names its entry in the caption; "Save" writes the name back,
// "Close" and the close box write nothing. A name with a line break or a
// tab cannot be saved; a name another entry has is saved with a warning.
class EditNameForm : public QDialog {
    Q_OBJECT

public:
    // cell must outlive the dialog.
    explicit EditNameForm(SelectedCell& cell, QWidget* parent = nullptr);

public slots:
    void save();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    SelectedCell& m_cell;
    QLineEdit* m_name;
    QLabel* m_verdictLabel;
    QPushButton* m_save;
    QPushButton* m_close;
    NameVerdict* m_verdict;
};

} // namespace dialogs
