#include "memory/Similarity.h"

#include <algorithm>
#include <map>

namespace memory {

namespace {

// Whether two tokens count as the same in the edit distance.
bool alike(const Token& a, const Token& b)
{
    if (a.kind != b.kind)
        return false;
    if (a.kind == TokenKind::Number || a.kind == TokenKind::Placeholder)
        return true;
    return a.normal == b.normal;
}

// The word-level edit distance: two rows of the usual table.
int editDistance(const std::vector<Token>& a, const std::vector<Token>& b)
{
    std::vector<int> previous(b.size() + 1);
    std::vector<int> current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int replace = previous[j - 1] + (alike(a[i - 1], b[j - 1]) ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// How many tokens of kind in one text the other lacks, by key, counted on
// the side that lacks more.
template <typename Key> int unmatched(const std::vector<Token>& a, const std::vector<Token>& b, TokenKind kind, Key key)
{
    std::map<QString, int> balance;
    for (const Token& token : a) {
        if (token.kind == kind)
            ++balance[key(token)];
    }
    for (const Token& token : b) {
        if (token.kind == kind)
            --balance[key(token)];
    }
    int onlyInA = 0;
    int onlyInB = 0;
    for (const auto& [text, count] : balance) {
        if (count > 0)
            onlyInA += count;
        else
            onlyInB -= count;
    }
    return std::max(onlyInA, onlyInB);
}

// Words of one text written in a case the other does not have, though the
// other has the word.
int caseDifferences(const std::vector<Token>& a, const std::vector<Token>& b)
{
    const auto count = [](const std::vector<Token>& from, const std::vector<Token>& other) {
        int differing = 0;
        for (const Token& token : from) {
            if (token.kind != TokenKind::Word)
                continue;
            const bool sameWord = std::any_of(other.begin(), other.end(),
                [&](const Token& t) { return t.kind == TokenKind::Word && t.normal == token.normal; });
            const bool sameCase = std::any_of(other.begin(), other.end(),
                [&](const Token& t) { return t.kind == TokenKind::Word && t.written == token.written; });
            differing += sameWord && !sameCase ? 1 : 0;
        }
        return differing;
    };
    return std::max(count(a, b), count(b, a));
}

} // namespace

int similarity(const std::vector<Token>& a, const std::vector<Token>& b)
{
    const auto n = static_cast<int>(std::max(a.size(), b.size()));
    if (n == 0)
        return 99;
    const int distance = editDistance(a, b);
    const int penalties = 2 * unmatched(a, b, TokenKind::Number, [](const Token& t) { return t.normal; })
                        + 2 * unmatched(a, b, TokenKind::Placeholder, [](const Token& t) { return t.written; })
                        + caseDifferences(a, b);
    int score = 100 * (n - distance) / n - penalties;
    if (distance == 0 && penalties == 0)
        score -= 1; // the texts differ, yet not in a token: in white space
    return std::clamp(score, 0, 99);
}

int similarity(const QStringView a, const QStringView b, WordSplitter& splitter)
{
    if (a == b)
        return 100;
    return similarity(splitter.tokensOf(a), splitter.tokensOf(b));
}

int tokensAMatchMayLack(const int tokens, const int minScore)
{
    return tokens * (100 - minScore) / 100;
}

} // namespace memory
