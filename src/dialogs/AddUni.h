#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dialogs {

class PlainTextBox;

// The Add dialog: the name and text of a new entry. It has no handlers of its
// own: "Add" ends the showing with ModalOk, "Close" and the close box with
// ModalCancel, and the main window does the rest.
class TAddForm : public QDialog {
    Q_OBJECT

public:
    explicit TAddForm(QWidget* parent = nullptr);

    // Before every showing: the default name and text, replacing what the
    // previous showing left, and the label "#" with the new entry's number.
    void prepare(int newNumber);

    // The name exactly as typed or put in.
    [[nodiscard]] QString name() const;
    // The text, its line breaks as CR LF.
    [[nodiscard]] QString text() const;

public slots:
    void reject() override;

private:
    QLabel* labNumber;
    QLineEdit* EditName;
    PlainTextBox* EditText;
    QPushButton* AddBut;
    QPushButton* Button2;
};

} // namespace dialogs
