#pragma once

#include "memory/SqliteDatabase.h"
#include "memory/WordSplitter.h"

#include <QByteArray>

#include <array>

namespace memory {

// The name full-text tables give as their tokenizer.
inline constexpr const char* WordTokenizerName = "ludra_words";

// Texts already split, whose terms the tokenizer gives instead of splitting
// them again: adding units splits each source for its word counts, and the
// index then takes the same terms. A text is known by its UTF-8, compared
// whole, so that a text that is not the one split ahead is split as ever.
class SplitAhead {
public:
    // The slots: a unit's source and its target.
    static constexpr std::size_t Slots = 2;

    // Puts utf8 in slot, in place of the text there before, and gives its
    // terms to fill (WordSplitter::termsOf). They reuse the buffers of the
    // terms before.
    [[nodiscard]] IndexTerms& keep(std::size_t slot, const QByteArray& utf8);
    // Forgets every text, so that none is taken for a later one by chance.
    void clear() noexcept;
    // The terms split ahead for the text, or none.
    [[nodiscard]] const IndexTerms* termsOf(const char* utf8, int size) const noexcept;

private:
    struct Split {
        QByteArray utf8;
        IndexTerms terms;
        bool kept = false;
    };
    std::array<Split, Slots> m_splits;
};

// Registers on db the tokenizer the memory's full-text index uses: the
// WordSplitter's words, numbers and placeholders, normalised, each a token
// (white space and punctuation are none). The same splitting finds
// candidates for the similarity, so what is indexed is what is compared.
// ahead, when given, must outlive db's tables.
void registerWordTokenizer(SqliteDatabase& db, const SplitAhead* ahead = nullptr);

} // namespace memory
