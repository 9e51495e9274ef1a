#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

// Checks of one translated text beside its reference text, beyond those of
// xom::checkTranslation (untranslated, empty, placeholders, line breaks, edge
// whitespace), which stay there. The review asks them only of a translated
// entry: it has a reference, and its text is not empty and differs from the
// reference. Given any other pair they still answer, but nothing more.
//
// Positions in details ("U+200B at 14") count UTF-16 code units from 0, as
// the editor's text boxes do.
namespace checks {

enum class Severity : std::uint8_t { Critical, Warning, Style };

enum class TextCheck : std::uint8_t {
    // Critical. The multisets of markup tags differ: "<b>", "</color>",
    // "<color=#ff0000>", "<br/>" ('<', an optional '/', an ASCII letter, then
    // name characters, attributes, an optional '/' and '>'), and bracket
    // tags "[/b]", "[color=red]", and "[b]" when the same text closes it with
    // "[/b]" (a name of ASCII letters, digits, '_' and '-'). A bracketed word
    // that nothing closes ("[Open]", "[Press E to open]") is text, and so is
    // a '<' not followed by a letter or '/' ("a < b", "x<3"). Tags compare
    // case-insensitively and without the spaces inside them: "<B>" equals
    // "<b>", "<br />" equals "<br/>".
    Tags,
    // Critical. The multisets of escape sequences written as two characters
    // differ: \n \t \r \" \' and \\ (read left to right, so "\\n" is "\\"
    // and a letter).
    Escapes,
    // Warning. The URLs ("http://", "https://", "www." up to a space, less
    // trailing punctuation) and e-mail addresses of the reference do not
    // appear unchanged in the text, or the text has others.
    Urls,
    // Warning. The multisets of numbers differ. Digits of any script count
    // by their value ("١٢" and "１２" are 12); '.', ',', '\'', U+066B and
    // U+066C between digits are separators and ignored ("1,000" = "1.000",
    // "1.5" = "1,5" = "15"); a space, no-break, narrow no-break or thin
    // space between digits is a group separator when three digits follow
    // ("1 000" = "1000", but "2 3" are two numbers); leading zeros are
    // ignored. Digits inside placeholders (xom::placeholderSpans), tags and
    // URLs do not count.
    Numbers,
    // Warning. The ending punctuation differs, read after trailing
    // whitespace, closing quotes and brackets and closing tags: full stop
    // (". 。 ． । ۔ ..."), ellipsis ("…" or "..."), question mark ("? ？ ؟",
    // and ';' in Greek), exclamation mark ("! ！"), both ("?!"), colon
    // (": ："), semicolon or none. The dot of an abbreviation ("Mr.",
    // "e.g.", "etc.", "z.B.", "т.д.") is no ending on either side. A Thai or
    // Lao text may drop the reference's full stop.
    EndPunctuation,
    // Style. The text starts with other punctuation than the reference,
    // after leading whitespace and tags; all quotation marks count as one,
    // so do all opening brackets and all dashes. A Spanish text's leading
    // "¿" or "¡" is skipped when the reference has none. A placeholder or a
    // '%' is no punctuation here.
    StartPunctuation,
    // Style. Needs the target language (unknown: no finding). French wants
    // a space (or a no-break or narrow no-break space) before "? ! : ;" and
    // inside « », and its absence is the finding; every other language wants
    // none before "? ! : ; , .", and a space there is the finding unless the
    // reference has a space before the same mark. Only marks that end a
    // phrase count (followed by a space, the end, a closing quote, or for
    // '?' and '!' a closing bracket): "12:30", "http://", ":)", " .NET" and
    // " ..." are no finding.
    PunctuationSpacing,
    // Warning. The same word twice in a row, separated by whitespace only
    // ("the the", case-insensitive; a word is a run of letters and marks),
    // unless the reference doubles a word too. Legitimate doublings are no
    // finding: "nous nous", "vous vous" (French), "die die", "das das", "der
    // der" (German), "that that", "had had" (English); all of them when the
    // target language is unknown.
    DoubledWord,
    // Style. Two or more spaces (space, no-break, narrow no-break, thin or
    // ideographic) in a row inside the text, not at its edges, where the
    // reference has no such run inside it.
    DoubleSpace,
    // Style. The first letters' cases differ, when both texts' first
    // letters (after whitespace, punctuation and symbols) are cased. A text
    // that starts with a tag, a placeholder or a digit, and a target
    // language that has no case (Japanese, Chinese, Arabic, Hindi, ...),
    // give no finding.
    FirstLetterCase,
    // Critical. DEL or a C1 control (U+007F .. U+009F) anywhere in the text,
    // or a C0 control other than tab, CR and LF that the reference does not
    // have (the reference's own control codes are game codes, counted by the
    // placeholder check).
    ControlCharacters,
    // Warning. A zero-width character (U+200B, U+2060, U+FEFF) or a
    // bidirectional control (U+061C, U+200E, U+200F, U+202A .. U+202E,
    // U+2066 .. U+2069) that the reference does not have; a zero-width
    // (non-)joiner U+200C or U+200D the reference does not have, unless it
    // stands between two letters of a script that uses it (Arabic, Syriac,
    // the Indic scripts, ...) or joins two emoji. A soft hyphen is fine.
    InvisibleCharacters,
    // Critical. U+FFFD in the text and not in the reference.
    ReplacementCharacter,
    // Warning. A word that mixes Latin, Cyrillic and Greek letters, such as
    // a Latin "o" in a Cyrillic word, unless the reference has the same word.
    // Other mixes (Han and Hiragana, letters and digits) are normal.
    MixedScripts,
    // Critical, off by default. The text is longer than maxCharacters, or
    // than maxPercentOfReference percent of the reference; both are counted
    // in code points.
    Length,
};

inline constexpr int TextCheckCount = static_cast<int>(TextCheck::Length) + 1;

// A set of checks: bit (1 << check) for each.
class TextChecks {
public:
    constexpr TextChecks() noexcept = default;
    constexpr TextChecks(const TextCheck check) noexcept // NOLINT: a check is a set of one
        : m_bits(bitOf(check))
    {
    }

    [[nodiscard]] static constexpr TextChecks fromBits(const std::uint32_t bits) noexcept
    {
        TextChecks checks;
        checks.m_bits = bits & allBits();
        return checks;
    }
    [[nodiscard]] static constexpr TextChecks all() noexcept { return fromBits(allBits()); }

    [[nodiscard]] constexpr std::uint32_t bits() const noexcept { return m_bits; }
    [[nodiscard]] constexpr bool isEmpty() const noexcept { return m_bits == 0; }
    [[nodiscard]] constexpr bool testFlag(const TextCheck check) const noexcept { return (m_bits & bitOf(check)) != 0; }
    constexpr TextChecks& setFlag(const TextCheck check, const bool on = true) noexcept
    {
        m_bits = on ? (m_bits | bitOf(check)) : (m_bits & ~bitOf(check));
        return *this;
    }

    constexpr TextChecks& operator|=(const TextChecks other) noexcept
    {
        m_bits |= other.m_bits;
        return *this;
    }
    constexpr TextChecks& operator&=(const TextChecks other) noexcept
    {
        m_bits &= other.m_bits;
        return *this;
    }
    [[nodiscard]] friend constexpr TextChecks operator|(TextChecks a, const TextChecks b) noexcept { return a |= b; }
    [[nodiscard]] friend constexpr TextChecks operator&(TextChecks a, const TextChecks b) noexcept { return a &= b; }
    [[nodiscard]] friend constexpr TextChecks operator~(const TextChecks a) noexcept { return fromBits(~a.m_bits); }
    [[nodiscard]] friend constexpr bool operator==(TextChecks, TextChecks) noexcept = default;

private:
    [[nodiscard]] static constexpr std::uint32_t bitOf(const TextCheck check) noexcept
    {
        return std::uint32_t{1} << static_cast<unsigned>(check);
    }
    [[nodiscard]] static constexpr std::uint32_t allBits() noexcept { return (std::uint32_t{1} << TextCheckCount) - 1; }

    std::uint32_t m_bits = 0;
};

[[nodiscard]] constexpr TextChecks operator|(const TextCheck a, const TextCheck b) noexcept
{
    return TextChecks(a) | TextChecks(b);
}

// What a review runs unless told otherwise: everything but the length limit,
// which needs limits to mean anything.
inline constexpr TextChecks DefaultTextChecks = ~TextChecks(TextCheck::Length);

struct TextCheckInfo {
    TextCheck check;
    QLatin1StringView key; // stable, for settings and reports: "end-punctuation"
    QString name;          // for people: "ending punctuation differs"
    QString explanation;   // one line
    Severity severity;
};

// One for each check, in TextCheck order.
[[nodiscard]] const std::vector<TextCheckInfo>& textCheckInfos();
// The check whose key this is (exactly, in lower case).
[[nodiscard]] std::optional<TextCheck> textCheckOfKey(QStringView key);

struct TextCheckContext {
    // A language tag such as "fr", "de", "ja", "pt-BR" ('_' read as '-');
    // empty when unknown.
    QString targetLanguage;
    TextChecks enabled = DefaultTextChecks;
    // 0: no limit. Counted in code points.
    int maxCharacters = 0;
    // 0: no limit; 150 allows 1.5 times the reference's code points.
    int maxPercentOfReference = 0;
};

// The enabled checks that text fails beside reference. Made for a whole file
// (a million entries, under a second): one pass over each text tells which
// checks have anything to look at, each text is read a few times at most,
// and after its first calls it allocates nothing unless a text holds a '%',
// a '{' or a control code that may start a placeholder.
[[nodiscard]] TextChecks failingTextChecks(QStringView reference, QStringView text, const TextCheckContext& context);

struct TextFinding {
    TextCheck check;
    QString detail; // "missing </b>; extra <i>", "“.” → “!”", "U+200B at 14"
};

// Each enabled check that fails, in TextCheck order, with what it found; the
// checks are exactly those of failingTextChecks.
[[nodiscard]] std::vector<TextFinding> textFindings(
    QStringView reference, QStringView text, const TextCheckContext& context);

// The placeholders (xom::placeholdersOf) that the text lacks and those it
// has beyond the reference's, counted as multisets, each list in the order
// of its text: "missing %d; extra %s", "missing %d", "extra {0}", "missing
// %d, %d"; empty when the multisets are equal.
[[nodiscard]] QString placeholderDifference(QStringView reference, QStringView text);

struct FixedText {
    QString text;
    QStringList fixes; // "invisible characters", "control characters", "edge whitespace", "ellipsis"
};

// The fixes that cannot change a translation's meaning, applied in this
// order, only to what needs them:
//  - zero-width and bidirectional-control characters that
//    InvisibleCharacters finds are removed, unless the reference has them;
//  - control characters other than tab, CR and LF are removed, unless the
//    reference has them;
//  - the leading and the trailing whitespace become the reference's (not
//    for a text of whitespace only);
//  - each run of exactly three dots becomes "…" when the reference has "…"
//    and no three dots.
// Nothing when no fix applies.
[[nodiscard]] std::optional<FixedText> safelyFixed(QStringView reference, QStringView text);

} // namespace checks
