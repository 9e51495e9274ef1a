#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QLineEdit;
class QTableWidget;

namespace dialogs {

// Edit › Search Memory…: a word or phrase looked up in the translation
// memory's sources and translations, each unit found shown as a row of its
// source, its translation and where it came from. The search is given as a
// function of the phrase, so the dialog holds no memory of its own.
class MemorySearchDialog final : public QDialog {
    Q_OBJECT

public:
    // Each row: source, translation, origin.
    using Search = std::function<std::vector<QStringList>(const QString& phrase)>;

    MemorySearchDialog(Search search, QWidget* parent = nullptr);

    // Searches for phrase, as typing it and pressing Return does.
    void searchFor(const QString& phrase);
    [[nodiscard]] QLineEdit& phraseBox() const noexcept { return *m_phrase; }
    [[nodiscard]] QTableWidget& results() const noexcept { return *m_results; }

private:
    Search m_search;
    QLineEdit* m_phrase = nullptr;
    QTableWidget* m_results = nullptr;
};

} // namespace dialogs
