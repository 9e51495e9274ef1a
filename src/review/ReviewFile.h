#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace review {

// What a translator has said of an entry beyond its text. Untranslated and
// "with warnings" are not kept: the checks against the reference give them.
enum class State : std::uint8_t { Unset, NeedsReview, Translated, Approved };

// What is kept of one entry: its state, the translator's note, and the
// reference text the translation was last accepted against.
struct EntryReview {
    State state = State::Unset;
    QString note;
    std::optional<QString> snapshot;

    [[nodiscard]] bool keepsAnything() const { return state != State::Unset || !note.isEmpty() || snapshot; }
    friend bool operator==(const EntryReview&, const EntryReview&) = default;
};

// A state's word in the file and wherever states are written for programs:
// "needs-review", "translated", "approved", and "-" for none.
[[nodiscard]] QStringView stateWord(State state);

// One line of the file: an entry named as the language file names it, its
// number telling apart entries that share a name.
struct ReviewLine {
    // The number cell's text, as the grid shows it.
    QString number;
    QString name;
    EntryReview review;

    friend bool operator==(const ReviewLine&, const ReviewLine&) = default;
};

// The language file the review was saved with, to tell a pair that belongs
// together: its size and the SHA-256 of its bytes.
struct LanguageFingerprint {
    qint64 size = -1;
    QByteArray sha256;

    friend bool operator==(const LanguageFingerprint&, const LanguageFingerprint&) = default;
};

// The languages of a language file's reference and of the file itself, as
// a translator gave them where the files' names tell none: language tags
// of ASCII letters, digits, '-' and '_' ("en", "pt_BR"); empty when not
// given.
struct ReviewLanguages {
    QString source;
    QString target;

    [[nodiscard]] bool isEmpty() const { return source.isEmpty() && target.isEmpty(); }
    friend bool operator==(const ReviewLanguages&, const ReviewLanguages&) = default;
};

// The checks a translator turned on or off for one language file, against
// the defaults, and its length limits. Keys are words of ASCII lower-case
// letters, digits and '-' ("doubled-word"); one this version does not know
// is kept as it is, and so is a setting it does not know ("max-lines=2"),
// so that a newer version's choices survive a save by this one.
struct ReviewChecks {
    QStringList turnedOn;
    QStringList turnedOff;
    // The most characters a text may have, and the most as a share of its
    // reference text's length in percent; 0 for no limit.
    int maxCharacters = 0;
    int maxPercent = 0;
    // The spelling dictionary's language tag where another than the file's
    // language was chosen ("de-AT"); empty for the file's.
    QString dictionary;
    // Settings of a newer version, word by word.
    QStringList otherSettings;

    [[nodiscard]] bool isEmpty() const
    {
        return turnedOn.isEmpty() && turnedOff.isEmpty() && maxCharacters == 0 && maxPercent == 0
            && dictionary.isEmpty() && otherSettings.isEmpty();
    }
    friend bool operator==(const ReviewChecks&, const ReviewChecks&) = default;
};

// The review file beside a language file (lang_de.xom.review beside
// lang_de.xom), a UTF-8 text that diffs well under version control:
//
//   # Ludra review 1
//   # language-file 1295 <sha-256 in hex>
//   # languages en de
//   # checks -doubled-word +length max-characters=40 max-percent=150 dictionary=de-AT
//   4<TAB>FE.Menu.Quit<TAB>approved<TAB>=Quit to desktop<TAB>short on screen
//
// then one line per entry that keeps anything, in the order of their
// numbers: the number, the name, the state, the snapshot ("=" and the
// text, or "-" for none) and the note. In a field \t, \n, \r and \\ stand
// for a tab, a line feed, a carriage return and a backslash, and \uXXXX for
// a UTF-16 code unit that UTF-8 cannot carry alone (a lone surrogate), so
// that every text comes back exactly. The languages line is there only when
// languages were given ("-" for one not given), and the checks line only
// when any check was turned on or off or a limit set; a reader that does
// not know them passes them over as comments.
struct ReviewFile {
    LanguageFingerprint language;
    ReviewLanguages languages;
    ReviewChecks checks;
    std::vector<ReviewLine> lines;

    friend bool operator==(const ReviewFile&, const ReviewFile&) = default;
};

// The name of the review file beside a language file.
[[nodiscard]] QString reviewPathFor(const QString& languagePath);

// A review file that cannot be read, at the line (from 1) it stopped at.
class ReviewFileError : public std::runtime_error {
public:
    ReviewFileError(int line, const QString& reason);

    [[nodiscard]] int line() const noexcept { return m_line; }
    [[nodiscard]] const QString& reason() const noexcept { return m_reason; }
    // "line 12: two lines name FE.Menu.Quit"
    [[nodiscard]] QString message() const;

private:
    int m_line;
    QString m_reason;
};

// The longest line a review file may have: far above any real entry's
// texts, so that a damaged length cannot make a reader hold gigabytes.
inline constexpr qsizetype longestReviewLine = 64 * 1024 * 1024;

// The file's bytes, lines in the order given (the caller sorts them).
[[nodiscard]] QByteArray writeReviewFile(const ReviewFile& file);
// Throws ReviewFileError at the first line that is not as written: no
// header, a field too many or too few, an unknown state, a bad escape,
// bytes that are not UTF-8, a line too long, an entry (name and number)
// given twice.
[[nodiscard]] ReviewFile readReviewFile(QByteArrayView bytes);

} // namespace review
