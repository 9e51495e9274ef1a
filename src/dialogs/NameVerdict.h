#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace dialogs {

// What a dialog tells the user about a name as it is typed: nothing, or a
// warning that does not stop the name (another entry has it already).
using NameWarning = std::function<QString(const QString& name)>;

// Keeps a label beside a name box saying what is wrong with the name in
// it. A name that breaks a line or holds a tab is refused: the label says
// so in red and the dialog's accept button stays disabled until it is gone.
// Any other name is taken, with the warning given in dark orange.
class NameVerdict final : public QObject {
    Q_OBJECT

public:
    // All three widgets must outlive this object, which the label owns.
    NameVerdict(QLineEdit& box, QLabel& label, QAbstractButton& accept);

    // Where warnings come from; none until set.
    void setWarning(NameWarning warning);
    // Judges the box's text again, as each change of it does.
    void refresh();

    [[nodiscard]] static QString refusalText();

private:
    QLineEdit& m_box;
    QLabel& m_label;
    QAbstractButton& m_accept;
    NameWarning m_warning;
};

} // namespace dialogs
