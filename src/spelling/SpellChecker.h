#pragma once

#include "spelling/DictionaryCatalog.h"
#include "text/EditorError.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <string>

class Hunspell;

namespace spelling {

// A dictionary could not be loaded, or a personal word list could not be
// written. The message names the file.
class SpellingError : public text::EditorError {
public:
    using EditorError::EditorError;
};

class DictionaryEncoding;

// Judges words by one Hunspell dictionary and the translator's personal
// word list for its language. Keeps Hunspell's state and a cache of the
// words already judged, both changed by every query: not thread-safe, one
// checker per thread (the window's, and one for a check of a whole
// document in the background).
class SpellChecker {
public:
    // Loads the dictionary and reads the personal list at personalPath (a
    // missing list is empty, a damaged one gives what it can: see
    // readPersonalWords). Throws SpellingError naming the file when the
    // dictionary's files cannot be read, are no dictionary, or use an
    // encoding that is not known.
    SpellChecker(Dictionary dictionary, QString personalPath);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    [[nodiscard]] const Dictionary& dictionary() const noexcept { return m_dictionary; }
    [[nodiscard]] const QString& personalPath() const noexcept { return m_personalPath; }

    // Whether the dictionary or the personal list knows the word, as
    // Hunspell judges it: in any case the dictionary allows ("Game" and
    // "GAME" for "game"), with the typographic apostrophe as the straight
    // one. An empty word is known; a word the dictionary's encoding cannot
    // write is not, unless the personal list holds it.
    [[nodiscard]] bool isKnown(QStringView word);

    // At most max corrections for the word, best first; none for a word
    // the dictionary's encoding cannot write.
    [[nodiscard]] QStringList suggestions(QStringView word, int max = 8);

    // Teaches the checker a word at once and keeps it in the personal list,
    // rewritten whole and atomically (see PersonalWords.h for its form),
    // with any words another checker added to the file meanwhile. False,
    // and nothing changed, for a word a list cannot hold (isPersonalWord).
    // Throws SpellingError naming the file when the list cannot be written;
    // nothing is changed then either.
    bool addToPersonal(QStringView word);

    // The personal list's words, sorted.
    [[nodiscard]] const QStringList& personalWords() const noexcept { return m_personalWords; }

private:
    [[nodiscard]] bool judge(QStringView word);
    [[nodiscard]] bool hunspellKnows(QStringView word);
    void teach(const QStringList& words);

    Dictionary m_dictionary;
    QString m_personalPath;
    std::unique_ptr<Hunspell> m_hunspell;
    std::unique_ptr<DictionaryEncoding> m_encoding;
    QStringList m_personalWords;
    // The personal words as written, for those the dictionary's encoding
    // cannot write and Hunspell so never learns.
    QSet<QString> m_personalSet;
    // Each word asked about and the answer: a document repeats its words,
    // and Hunspell's judgement of one takes microseconds.
    QHash<QString, bool> m_judged;
    std::string m_encoded;
};

} // namespace spelling
