#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace dialogs {

// Spelling as the Edit dialog asks for it, beside the selected entry's
// reference text: the window implements it with the file's dictionary, so
// the dialog needs nothing of dictionaries.
class Speller {
public:
    virtual ~Speller() = default;

    // The misspelt words of text: each one's start and length in it.
    [[nodiscard]] virtual std::vector<std::pair<qsizetype, qsizetype>> misspelt(const QString& text) = 0;
    // Corrections for a misspelt word, best first.
    [[nodiscard]] virtual QStringList suggestions(const QString& word) = 0;
    // Keeps word in the translator's own list: never misspelt again.
    virtual void addToDictionary(const QString& word) = 0;

protected:
    Speller() = default;
    Speller(const Speller&) = default;
    Speller& operator=(const Speller&) = default;
};

} // namespace dialogs
