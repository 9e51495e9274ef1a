#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

struct UBreakIterator;

namespace memory {

// What a token of a text is. Numbers and placeholders are told apart from
// words because a translation carries them over unchanged: two sources
// that differ only in them are nearly the same sentence.
enum class TokenKind : std::uint8_t { Word, Number, Placeholder, Punctuation };

// One token of a text: as written, and normalised as the memory compares
// and indexes it (case folded; a number's digits, in whatever script, as
// ASCII digits).
struct Token {
    QString written;
    QString normal;
    TokenKind kind = TokenKind::Word;

    friend bool operator==(const Token&, const Token&) = default;
};

// What the full-text index keeps of a text: the normal form of each token
// but punctuation, as UTF-8, with its kind. One object is filled again and
// again, so that indexing many texts allocates next to nothing.
class IndexTerms {
public:
    void clear() noexcept;
    [[nodiscard]] std::size_t size() const noexcept { return m_terms.size(); }
    [[nodiscard]] QByteArrayView term(std::size_t i) const noexcept;
    [[nodiscard]] TokenKind kind(std::size_t i) const noexcept { return m_terms[i].kind; }

    // Starts a term: its UTF-8 is what is appended to bytes() until the
    // next term starts.
    void begin(TokenKind kind);
    [[nodiscard]] QByteArray& bytes() noexcept { return m_bytes; }

private:
    struct Term {
        qsizetype start = 0;
        TokenKind kind = TokenKind::Word;
    };
    QByteArray m_bytes;
    std::vector<Term> m_terms;
};

// Splits texts into tokens: placeholders as the checks know them, then
// words by ICU's word boundaries, which find words in scripts written
// without spaces (Chinese, Japanese, Thai) by dictionary. White space
// separates tokens and is none itself; each other mark is a punctuation
// token. Keeps one ICU break iterator: one splitter per thread.
class WordSplitter {
public:
    WordSplitter();
    ~WordSplitter();
    WordSplitter(const WordSplitter&) = delete;
    WordSplitter& operator=(const WordSplitter&) = delete;

    [[nodiscard]] std::vector<Token> tokensOf(QStringView text);
    // The terms of tokensOf(text) but punctuation, each the UTF-8 of its
    // normal form, into terms (emptied first).
    void termsOf(QStringView text, IndexTerms& terms);

private:
    // Calls visit(written, kind) for each token of text, in order.
    template <typename Visit> void eachToken(QStringView text, Visit&& visit);
    template <typename Visit> void eachWordToken(QStringView text, Visit& visit);

    struct CloseBreaks {
        void operator()(UBreakIterator* breaks) const;
    };
    std::unique_ptr<UBreakIterator, CloseBreaks> m_breaks;
};

} // namespace memory
