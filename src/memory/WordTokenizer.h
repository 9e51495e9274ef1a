#pragma once

#include "memory/SqliteDatabase.h"

namespace memory {

// The name full-text tables give as their tokenizer.
inline constexpr const char* WordTokenizerName = "ludra_words";

// Registers on db the tokenizer the memory's full-text index uses: the
// WordSplitter's words, numbers and placeholders, normalised, each a token
// (white space and punctuation are none). The same splitting finds
// candidates for the similarity, so what is indexed is what is compared.
void registerWordTokenizer(SqliteDatabase& db);

} // namespace memory
