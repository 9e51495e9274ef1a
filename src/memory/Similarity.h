#pragma once

#include "memory/WordSplitter.h"

#include <QStringView>

#include <vector>

namespace memory {

// How alike two source texts are, from 0 to 100, as a translator reads a
// match: 100 only for the very same text; otherwise the share of tokens
// that a word-level edit distance keeps, less small penalties.
//
//   score = floor(100 * (n - d) / n) - penalties, at most 99 and at least 0
//
// where n is the longer text's token count and d the fewest tokens
// inserted, deleted or replaced to turn one into the other. Tokens are
// compared normalised (case folded), and any number stands for any other
// number, any placeholder for any other placeholder: the translation
// carries them over. What that hides costs a little instead:
//   - 2 for each number of one text that the other lacks (by value),
//   - 2 for each placeholder of one text that the other lacks,
//   - 1 for each word written in another case (by the words of one text
//     whose written form the other lacks while it has the folded form),
//   - 1 when the texts still differ by nothing more (white space).
// Texts of no tokens at all differ only in white space: 99.
[[nodiscard]] int similarity(const std::vector<Token>& a, const std::vector<Token>& b);
[[nodiscard]] int similarity(QStringView a, QStringView b, WordSplitter& splitter);

// How many of a query's tokens a text may lack and still score at least
// minScore against it: such a text keeps at least n - d >= n * minScore /
// 100 tokens of the query's (n is at least the query's token count), so it
// lacks at most tokens * (100 - minScore) / 100 of them. A search for
// candidates that asks for one more of the query's words than that, any of
// them, misses no match.
[[nodiscard]] int tokensAMatchMayLack(int tokens, int minScore);

} // namespace memory
