#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace dialogs {

class NameVerdict;
class PlainTextBox;

// The Add dialog: the name and text of a new entry. It has no handlers of its
// own: "Add" ends the showing with ModalOk, "Close" and the close box with
// ModalCancel, and the main window does the rest. Every showing starts in
// the name box with its whole text selected. Beside the number it says when
// another entry has the name typed, and refuses a name that breaks a line or
// holds a tab (see NameVerdict).
class TAddForm : public QDialog {
    Q_OBJECT

public:
    explicit TAddForm(QWidget* parent = nullptr);

    // Before every showing: the default name and text, replacing what the
    // previous showing left, and the label "#" with the new entry's number.
    void prepare(int newNumber);

    // Where the warning about a name another entry has comes from.
    void setNameWarning(std::function<QString(const QString&)> warning);

    // The name exactly as typed or put in.
    [[nodiscard]] QString name() const;
    // The text, its line breaks as CR LF.
    [[nodiscard]] QString text() const;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* labNumber;
    QLineEdit* EditName;
    PlainTextBox* EditText;
    QPushButton* AddBut;
    QPushButton* Button2;
    QLabel* m_nameVerdictLabel;
    NameVerdict* m_nameVerdict;
};

} // namespace dialogs
