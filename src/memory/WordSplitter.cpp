#include "memory/WordSplitter.h"

#include "xom/TranslationChecks.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>

#include <stdexcept>

namespace memory {

namespace {

const UChar* unitsOf(const QStringView text)
{
    return reinterpret_cast<const UChar*>(text.utf16());
}

// A number's digits as ASCII digits ("١٢" and "12" are one number); other
// characters of it (separators) as they are.
QString normalNumber(const QStringView written)
{
    QString normal;
    normal.reserve(written.size());
    for (qsizetype i = 0; i < written.size(); ++i) {
        char32_t c = written[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < written.size() && written[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(written[i].unicode(), written[i + 1].unicode());
            ++i;
        }
        const int digit = u_charDigitValue(static_cast<UChar32>(c));
        if (digit >= 0)
            normal += QChar(u'0' + digit);
        else
            normal += QString::fromUcs4(&c, 1);
    }
    return normal;
}

bool isAllSpace(const QStringView text)
{
    for (const QChar c : text) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

bool isAscii(const QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Appends ASCII text a byte a character, each as change makes it: most
// texts are ASCII, and their terms so go into the reused buffer without
// the temporary array a conversion makes.
template <typename Change> void appendAscii(QByteArray& bytes, const QStringView text, Change change)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + text.size());
    char* out = bytes.data() + at;
    for (const QChar c : text)
        *out++ = static_cast<char>(change(c.unicode()));
}

char16_t asItIs(const char16_t c)
{
    return c;
}

// The case folding of an ASCII letter (Unicode folds A to Z alone).
char16_t foldedAscii(const char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Appends the UTF-8 of text.
void appendUtf8(QByteArray& bytes, const QStringView text)
{
    if (isAscii(text))
        appendAscii(bytes, text, asItIs);
    else
        bytes += text.toUtf8();
}

// Appends the UTF-8 of a word's normal form, the same as
// toCaseFolded().toUtf8().
void appendFoldedUtf8(QByteArray& bytes, const QStringView word)
{
    if (isAscii(word))
        appendAscii(bytes, word, foldedAscii);
    else
        bytes += word.toString().toCaseFolded().toUtf8();
}

// Appends the UTF-8 of a number's normal form, the same as
// normalNumber().toUtf8(): ASCII digits and separators are their own.
void appendNumberUtf8(QByteArray& bytes, const QStringView number)
{
    if (isAscii(number))
        appendAscii(bytes, number, asItIs);
    else
        bytes += normalNumber(number).toUtf8();
}

} // namespace

void IndexTerms::clear() noexcept
{
    // Keeps the capacity, which clear() would give back.
    m_bytes.resize(0);
    m_terms.clear();
}

QByteArrayView IndexTerms::term(const std::size_t i) const noexcept
{
    const qsizetype start = m_terms[i].start;
    const qsizetype end = i + 1 < m_terms.size() ? m_terms[i + 1].start : m_bytes.size();
    return QByteArrayView(m_bytes.constData() + start, end - start);
}

void IndexTerms::begin(const TokenKind kind)
{
    m_terms.push_back({m_bytes.size(), kind});
}

void WordSplitter::CloseBreaks::operator()(UBreakIterator* const breaks) const
{
    ubrk_close(breaks);
}

WordSplitter::WordSplitter()
{
    UErrorCode status = U_ZERO_ERROR;
    // The root rules: word boundaries do not depend on the language, and
    // the dictionaries for scripts without spaces are used whatever it is.
    m_breaks.reset(ubrk_open(UBRK_WORD, "", nullptr, 0, &status));
    if (U_FAILURE(status))
        throw std::runtime_error("ICU has no word break rules");
}

WordSplitter::~WordSplitter() = default;

// Placeholders first, then words between them: the splitting that both
// the tokens and the index terms are made from, so that the two cannot
// differ.
template <typename Visit> void WordSplitter::eachToken(const QStringView text, Visit&& visit)
{
    qsizetype at = 0;
    for (const auto& [start, length] : xom::placeholderSpans(text)) {
        eachWordToken(text.sliced(at, start - at), visit);
        visit(text.sliced(start, length), TokenKind::Placeholder);
        at = start + length;
    }
    eachWordToken(text.sliced(at), visit);
}

template <typename Visit> void WordSplitter::eachWordToken(const QStringView text, Visit& visit)
{
    if (text.isEmpty())
        return;
    UErrorCode status = U_ZERO_ERROR;
    ubrk_setText(m_breaks.get(), unitsOf(text), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        return;
    int32_t start = ubrk_first(m_breaks.get());
    for (int32_t end = ubrk_next(m_breaks.get()); end != UBRK_DONE; start = end, end = ubrk_next(m_breaks.get())) {
        const QStringView piece = text.sliced(start, end - start);
        const int32_t rule = ubrk_getRuleStatus(m_breaks.get());
        if (rule >= UBRK_WORD_NUMBER && rule < UBRK_WORD_NUMBER_LIMIT)
            visit(piece, TokenKind::Number);
        else if (rule >= UBRK_WORD_LETTER)
            visit(piece, TokenKind::Word);
        else if (!isAllSpace(piece))
            visit(piece, TokenKind::Punctuation);
    }
}

std::vector<Token> WordSplitter::tokensOf(const QStringView text)
{
    std::vector<Token> tokens;
    eachToken(text, [&](const QStringView written, const TokenKind kind) {
        switch (kind) {
        case TokenKind::Number:
            tokens.push_back({written.toString(), normalNumber(written), kind});
            break;
        case TokenKind::Word:
            tokens.push_back({written.toString(), written.toString().toCaseFolded(), kind});
            break;
        case TokenKind::Placeholder:
        case TokenKind::Punctuation:
            tokens.push_back({written.toString(), written.toString(), kind});
            break;
        }
    });
    return tokens;
}

void WordSplitter::termsOf(const QStringView text, IndexTerms& terms)
{
    terms.clear();
    eachToken(text, [&](const QStringView written, const TokenKind kind) {
        if (kind == TokenKind::Punctuation)
            return;
        terms.begin(kind);
        if (kind == TokenKind::Word)
            appendFoldedUtf8(terms.bytes(), written);
        else if (kind == TokenKind::Number)
            appendNumberUtf8(terms.bytes(), written);
        else
            appendUtf8(terms.bytes(), written);
    });
}

} // namespace memory
