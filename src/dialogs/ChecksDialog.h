#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;
class QSpinBox;
class QTreeWidget;

namespace dialogs {

// One check as the dialog lists it: turned on or off by its box.
struct CheckChoice {
    QString key;
    QString name;
    QString explanation;
    // The group it is listed under: "Critical", "Warning", "Style".
    QString severity;
    bool on = true;
};

// What the dialog is given and gives back: every check and the file's
// length limits (0: no limit).
struct CheckChoices {
    std::vector<CheckChoice> checks;
    int maxCharacters = 0;
    int maxPercent = 0;
    // The spelling dictionaries installed, by language tag; the one chosen
    // (empty: the file's language, named by fileLanguage).
    QStringList dictionaries;
    QString dictionary;
    QString fileLanguage;
};

// Edit › Checks…: each check turned on or off for this file, listed under
// its severity with what it finds, and the length limits that the length
// check needs.
class ChecksDialog final : public QDialog {
    Q_OBJECT

public:
    explicit ChecksDialog(QWidget* parent = nullptr);

    // Shows these choices; choices() reads them back as the boxes now say.
    void setChoices(const CheckChoices& choices);
    [[nodiscard]] CheckChoices choices() const;

    [[nodiscard]] QTreeWidget& list() const noexcept { return *m_list; }
    [[nodiscard]] QSpinBox& maxCharacters() const noexcept { return *m_maxCharacters; }
    [[nodiscard]] QSpinBox& maxPercent() const noexcept { return *m_maxPercent; }
    [[nodiscard]] QComboBox& dictionary() const noexcept { return *m_dictionary; }

private:
    QTreeWidget* m_list = nullptr;
    QSpinBox* m_maxCharacters = nullptr;
    QSpinBox* m_maxPercent = nullptr;
    QComboBox* m_dictionary = nullptr;
    CheckChoices m_shown;
};

} // namespace dialogs
