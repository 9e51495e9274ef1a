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

} // namespace

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

std::vector<Token> WordSplitter::tokensOf(const QStringView text)
{
    std::vector<Token> tokens;
    qsizetype at = 0;
    for (const auto& [start, length] : xom::placeholderSpans(text)) {
        splitWords(text.sliced(at, start - at), tokens);
        const QString placeholder = text.sliced(start, length).toString();
        tokens.push_back({placeholder, placeholder, TokenKind::Placeholder});
        at = start + length;
    }
    splitWords(text.sliced(at), tokens);
    return tokens;
}

void WordSplitter::splitWords(const QStringView text, std::vector<Token>& tokens)
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
        if (rule >= UBRK_WORD_NUMBER && rule < UBRK_WORD_NUMBER_LIMIT) {
            tokens.push_back({piece.toString(), normalNumber(piece), TokenKind::Number});
        } else if (rule >= UBRK_WORD_LETTER) {
            tokens.push_back({piece.toString(), piece.toString().toCaseFolded(), TokenKind::Word});
        } else if (!isAllSpace(piece)) {
            tokens.push_back({piece.toString(), piece.toString(), TokenKind::Punctuation});
        }
    }
}

} // namespace memory
