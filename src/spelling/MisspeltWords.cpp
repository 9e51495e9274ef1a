#include "spelling/MisspeltWords.h"

#include "spelling/SpellChecker.h"
#include "text/Addresses.h"
#include "xom/TranslationChecks.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <QVarLengthArray>

#include <limits>
#include <stdexcept>

namespace spelling {

namespace {

// A stretch of text [start, end) whose words are not judged.
struct Span {
    qsizetype start = 0;
    qsizetype end = 0;
};
using Spans = QVarLengthArray<Span, 8>;

// The longest tag taken as one: a '<' that no '>' closes nearby is a
// less-than sign.
constexpr qsizetype MaxTagLength = 512;

bool isAsciiLetter(const QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isTagNameCharacter(const QChar c)
{
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
}

// Where the attributes of a tag opened at `at` end with its closing
// bracket: the index after it, or -1 when the tag is not closed on its
// line within MaxTagLength.
qsizetype endOfAttributes(const QStringView text, qsizetype at, const QChar open, const QChar close)
{
    const qsizetype limit = std::min(text.size(), at + MaxTagLength);
    for (; at < limit; ++at) {
        const QChar c = text[at];
        if (c == close)
            return at + 1;
        if (c == open || c == u'\n' || c == u'\r')
            return -1;
    }
    return -1;
}

// The end of a tag that starts at text[at] ('<' or '['), or -1 when none
// does: a name of ASCII letters, digits, '_' and '-' starting with a
// letter, after an optional '/'; then the closing bracket, or "/>", or
// attributes ('<' after white space or '=', '[' after '=' only: "[size=12]").
qsizetype tagEnd(const QStringView text, const qsizetype at)
{
    const QChar open = text[at];
    const QChar close = open == u'<' ? u'>' : u']';
    qsizetype i = at + 1;
    if (i < text.size() && text[i] == u'/')
        ++i;
    if (i >= text.size() || !isAsciiLetter(text[i]))
        return -1;
    while (i < text.size() && isTagNameCharacter(text[i]))
        ++i;
    if (i >= text.size())
        return -1;
    // A bare name in square brackets is a tag in lower case only ("[b]"),
    // and text otherwise ("[Space] to jump").
    if (text[i] == close) {
        const bool bare = text[at + 1] != u'/' && open == u'[';
        const bool lower
            = std::none_of(text.begin() + at + 1, text.begin() + i, [](const QChar c) { return c.isUpper(); });
        return !bare || lower ? i + 1 : -1;
    }
    if (open == u'<' && text[i] == u'/' && i + 1 < text.size() && text[i + 1] == close)
        return i + 2;
    if (text[i] == u'=' || (open == u'<' && text[i].isSpace()))
        return endOfAttributes(text, i, open, close);
    return -1;
}

// Every stretch of text whose words are left alone, in no order; they may
// overlap (a placeholder in a tag).
Spans skippedSpans(const QStringView text)
{
    Spans spans;
    for (const auto& [start, length] : xom::placeholderSpans(text))
        spans.append({start, start + length});
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'<' || c == u'[') {
            const qsizetype end = tagEnd(text, i);
            if (end > 0) {
                spans.append({i, end});
                i = end - 1;
            }
        } else if (const qsizetype url
                   = c == u'h' || c == u'H' || c == u'w' || c == u'W' ? text::urlLengthAt(text, i) : 0;
                   url > 0) {
            spans.append({i, i + url});
            i += url - 1;
        } else if (c == u'@') {
            const auto [start, end] = text::emailAround(text, i);
            if (end > start)
                spans.append({start, end});
        }
    }
    return spans;
}

bool overlaps(const Spans& spans, const qsizetype start, const qsizetype end)
{
    for (const Span& span : spans) {
        if (span.start < end && span.end > start)
            return true;
    }
    return false;
}

bool isOfScriptWithoutSpaces(const char32_t c)
{
    UErrorCode status = U_ZERO_ERROR;
    switch (uscript_getScript(static_cast<UChar32>(c), &status)) {
    case USCRIPT_HAN:
    case USCRIPT_HIRAGANA:
    case USCRIPT_KATAKANA:
    case USCRIPT_THAI:
    case USCRIPT_LAO:
    case USCRIPT_KHMER:
    case USCRIPT_MYANMAR:
        return true;
    default:
        return false;
    }
}

// A word holding a digit or an underscore, or a character of a script
// written without spaces, or no letter at all (ICU's rules take '@' for a
// letter): one no dictionary judges.
bool isBeyondDictionaries(const QStringView word)
{
    bool hasLetter = false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t unit = word[i].unicode();
        if (unit < 0x80) {
            if ((unit >= u'0' && unit <= u'9') || unit == u'_')
                return true;
            hasLetter = hasLetter || (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
            continue;
        }
        char32_t c = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < word.size() && word[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(unit, word[++i].unicode());
        if (u_isdigit(static_cast<UChar32>(c)) || isOfScriptWithoutSpaces(c))
            return true;
        hasLetter = hasLetter || u_isalpha(static_cast<UChar32>(c));
    }
    return !hasLetter;
}

bool isApostrophe(const QChar c)
{
    return c == u'\'' || c == u'\u2019';
}

bool equalIgnoringCase(const QStringView a, const QStringView b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

void MisspeltWordFinder::CloseBreaks::operator()(UBreakIterator* const breaks) const
{
    ubrk_close(breaks);
}

MisspeltWordFinder::MisspeltWordFinder(SpellChecker& checker)
    : m_checker(checker)
{
    UErrorCode status = U_ZERO_ERROR;
    // The root rules, as the memory's splitter uses: boundaries that do not
    // depend on the language.
    m_breaks.reset(ubrk_open(UBRK_WORD, "", nullptr, 0, &status));
    if (U_FAILURE(status))
        throw std::runtime_error("ICU has no word break rules");
}

MisspeltWordFinder::~MisspeltWordFinder() = default;

template <typename Visit> void MisspeltWordFinder::eachLetterWord(const QStringView text, Visit&& visit)
{
    if (text.isEmpty() || text.size() > std::numeric_limits<int32_t>::max())
        return;
    UErrorCode status = U_ZERO_ERROR;
    ubrk_setText(
        m_breaks.get(), reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        return;
    int32_t start = ubrk_first(m_breaks.get());
    for (int32_t end = ubrk_next(m_breaks.get()); end != UBRK_DONE; start = end, end = ubrk_next(m_breaks.get())) {
        // Kana and ideographs have rule statuses of their own, above the
        // letters': only letters are words for a dictionary.
        const int32_t rule = ubrk_getRuleStatus(m_breaks.get());
        if (rule >= UBRK_WORD_LETTER && rule < UBRK_WORD_LETTER_LIMIT)
            visit(qsizetype{start}, qsizetype{end - start});
    }
}

std::vector<MisspeltWord> MisspeltWordFinder::find(const QStringView text, const QStringView reference)
{
    std::vector<MisspeltWord> unknown;
    Spans skipped;
    bool spansFound = false;
    eachLetterWord(text, [&](const qsizetype start, const qsizetype length) {
        const QStringView word = text.sliced(start, length);
        if (isBeyondDictionaries(word) || m_checker.isKnown(word))
            return;
        // Most words are known: the stretches to skip are looked for only
        // once one is not.
        if (!spansFound) {
            skipped = skippedSpans(text);
            spansFound = true;
        }
        if (!overlaps(skipped, start, start + length))
            unknown.push_back({start, length, word.toString()});
    });
    if (unknown.empty() || reference.isEmpty())
        return unknown;
    m_referenceWords.clear();
    eachLetterWord(reference, [&](const qsizetype start, const qsizetype length) {
        m_referenceWords.push_back(reference.sliced(start, length));
    });
    std::erase_if(unknown, [&](const MisspeltWord& word) { return occursIn(word.word); });
    return unknown;
}

// Whether the word is one of m_referenceWords, or is one with a clitic of
// one or two letters before or after an apostrophe ("Ludra's", "d'Ludra").
bool MisspeltWordFinder::occursIn(const QStringView word) const
{
    QStringView forms[3]{word};
    const qsizetype first = std::find_if(word.begin(), word.end(), isApostrophe) - word.begin();
    const qsizetype last = word.size() - 1 - (std::find_if(word.rbegin(), word.rend(), isApostrophe) - word.rbegin());
    if (first < word.size() && first <= 2)
        forms[1] = word.sliced(first + 1);
    if (last >= 0 && last < word.size() && word.size() - last - 1 <= 2)
        forms[2] = word.first(last);
    for (const QStringView referenceWord : m_referenceWords) {
        for (const QStringView form : forms) {
            if (!form.isEmpty() && equalIgnoringCase(form, referenceWord))
                return true;
        }
    }
    return false;
}

std::vector<MisspeltWord> misspeltWords(const QStringView text, const QStringView reference, SpellChecker& checker)
{
    return MisspeltWordFinder(checker).find(text, reference);
}

std::vector<std::vector<MisspeltWord>> unknownWordsOf(
    const std::vector<TextAndReference>& entries, SpellChecker& checker, const std::stop_token& stop)
{
    std::vector<std::vector<MisspeltWord>> found;
    found.reserve(entries.size());
    MisspeltWordFinder finder(checker);
    for (const auto& [text, reference] : entries) {
        if (stop.stop_requested())
            break;
        found.push_back(finder.find(text, reference));
    }
    return found;
}

} // namespace spelling
