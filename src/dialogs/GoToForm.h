#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace dialogs {

// Go to Entry: the user names an entry by its number or its name. "Go" (or
// Return) hands the text to the window, which selects the entry and says
// whether there was one; the dialog closes when there was, and otherwise
// says that there is none and stays open for another try.
class GoToForm : public QDialog {
    Q_OBJECT

public:
    // Selects the entry a query names; false when none fits.
    using GoTo = std::function<bool(const QString& query)>;

    explicit GoToForm(QWidget* parent = nullptr);

    void setGoTo(GoTo goTo);

public slots:
    void go();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    GoTo m_goTo;
    QLineEdit* m_query;
    QLabel* m_result;
    QPushButton* m_go;
    QPushButton* m_close;
};

} // namespace dialogs
