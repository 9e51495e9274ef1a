#pragma once

#include <QString>
#include <QStringView>

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

private:
    void splitWords(QStringView text, std::vector<Token>& tokens);

    struct CloseBreaks {
        void operator()(UBreakIterator* breaks) const;
    };
    std::unique_ptr<UBreakIterator, CloseBreaks> m_breaks;
};

} // namespace memory
