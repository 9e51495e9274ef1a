#pragma once

#include "dialogs/SearchTarget.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dialogs {

// Find and Replace over the main grid's names and texts. It decides nothing
// itself: each button sends the boxes' request to its SearchTarget and shows
// what it answers. It is modeless; the grid stays usable while it is open.
//
// The match found last is remembered while the grid's current cell is still
// its cell, so Find Next and Replace go on after it; otherwise they start at
// the current cell.
class FindReplaceDialog : public QDialog {
    Q_OBJECT

public:
    // target must outlive the dialog.
    explicit FindReplaceDialog(SearchTarget& target, QWidget* parent = nullptr);

    // Shows the dialog, raised and with the find box focused; a non-empty
    // findText replaces the box's text.
    void showFor(const QString& findText = QString());

    // What the line under the buttons says: a count, "Not found", or empty.
    [[nodiscard]] QString resultText() const;

public slots:
    void findNext();
    void findPrevious();
    void replace();
    void replaceAll();
    void countMatches();

private:
    [[nodiscard]] SearchRequest request() const;
    [[nodiscard]] bool currentMatchIsSelected() const;
    void optionsChanged();
    void showFound(const std::optional<FoundText>& found);

    SearchTarget& m_target;
    std::optional<FoundText> m_current;

    QLineEdit* m_findText;
    QLabel* m_patternError;
    QLineEdit* m_replaceText;
    QComboBox* m_lookIn;
    QComboBox* m_mode;
    QCheckBox* m_matchCase;
    QPushButton* m_findNext;
    QPushButton* m_findPrevious;
    QPushButton* m_replace;
    QPushButton* m_replaceAll;
    QPushButton* m_count;
    QPushButton* m_close;
    QLabel* m_result;
};

} // namespace dialogs
