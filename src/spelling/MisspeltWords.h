#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <stop_token>
#include <utility>
#include <vector>

struct UBreakIterator;

namespace spelling {

class SpellChecker;

// A word of a text that the checker does not know: where it stands (in
// UTF-16 code units) and as written.
struct MisspeltWord {
    qsizetype start = 0;
    qsizetype length = 0;
    QString word;

    friend bool operator==(const MisspeltWord&, const MisspeltWord&) = default;
};

// Finds the words of translated texts that a checker does not know. Words
// are found by ICU's word boundaries, so an apostrophe inside a word stays
// in it ("don't", "l'homme"). Never judged, because no dictionary can:
//   - placeholders, as the checks know them ("%s", "{0}", "%1$d");
//   - markup tags, brackets and all ("<b>", "</color>", "<a href=\"x\">",
//     "[b]", "[/color]", "[url=x]"), though not the text between them;
//   - URLs (from "http://", "https://" or "www." to white space) and e-mail
//     addresses;
//   - numbers, and words holding a digit or an underscore ("3rd", "x64",
//     "player_name");
//   - words of scripts written without spaces (Han, kana, Thai, Lao,
//     Khmer, Myanmar), which Hunspell cannot split into words;
//   - any word that occurs in the reference text, in any case: names of
//     the game's things, which the translation keeps ("Ludra's" and
//     "d'Ludra" count as "Ludra").
// Keeps one ICU break iterator and uses the checker: one finder per thread.
class MisspeltWordFinder {
public:
    explicit MisspeltWordFinder(SpellChecker& checker);
    ~MisspeltWordFinder();
    MisspeltWordFinder(const MisspeltWordFinder&) = delete;
    MisspeltWordFinder& operator=(const MisspeltWordFinder&) = delete;

    // The words of text the checker does not know, in order.
    [[nodiscard]] std::vector<MisspeltWord> find(QStringView text, QStringView reference);

private:
    // Calls visit(start, length) for each word of text that has letters.
    template <typename Visit> void eachLetterWord(QStringView text, Visit&& visit);
    [[nodiscard]] bool occursIn(QStringView word) const;

    struct CloseBreaks {
        void operator()(UBreakIterator* breaks) const;
    };
    SpellChecker& m_checker;
    std::unique_ptr<UBreakIterator, CloseBreaks> m_breaks;
    std::vector<QStringView> m_referenceWords;
};

// MisspeltWordFinder(checker).find(text, reference), for one text.
[[nodiscard]] std::vector<MisspeltWord> misspeltWords(QStringView text, QStringView reference, SpellChecker& checker);

// A translated text and its reference text.
using TextAndReference = std::pair<QString, QString>;

// The misspelt words of each entry of a document, in the entries' order:
// for a check of a whole document in a thread of its own, with a checker
// of its own. Stops between two entries once a stop is requested; the
// result then holds the entries checked so far.
[[nodiscard]] std::vector<std::vector<MisspeltWord>> unknownWordsOf(
    const std::vector<TextAndReference>& entries, SpellChecker& checker, const std::stop_token& stop = {});

} // namespace spelling
