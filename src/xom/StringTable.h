#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"
#include "xom/TextPool.h"

#include "text/CompilerHints.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xom {

// The string table a save writes: each distinct text once, as pool ids in
// list order, and the list index of each pool id that is in it. The order of
// the list is the empty string, the string that stood at index 1 ("kept"),
// then every text and name of the rows in order of first occurrence, a row's
// text before its name.
struct StringTable {
    // Marks index 1 when it holds a kept string that no cell holds (so the
    // pool has no id for it).
    static constexpr TextId KeptOutsidePool = ~TextId{0};

    const TextPool* pool = nullptr;
    bool canonical = false; // the ids were mapped by pool.canonical()
    QString kept;
    std::vector<TextId> ids;
    std::vector<std::int32_t> indexOfId; // -1 for ids not in the table

    [[nodiscard]] QStringView textOf(const TextId id) const
    {
        return id == KeptOutsidePool ? QStringView(kept) : pool->view(id);
    }
    [[nodiscard]] QStringView at(const std::size_t k) const { return textOf(ids[k]); }
    [[nodiscard]] std::size_t count() const noexcept { return ids.size(); }
    // The index of a pool id as the table took it; -1 when it is not in it.
    [[nodiscard]] std::int32_t indexOf(const TextId id) const { return indexOfId[id]; }
    // The index of a row's text or name.
    [[nodiscard]] std::int32_t indexOfText(const TextId id) const
    {
        return indexOfId[canonical ? pool->canonical(id) : id];
    }
    // Asks for the indices of a row's text and name, RowsAhead rows before
    // indexOfText takes them: the ids of a file laid out as saves lay it out
    // follow the strings' images, not the rows, and the lookups would
    // otherwise wait on memory row after row (bench_save's saveSavedLayout:
    // about a quarter of its time). Ids taken as they stand only: canonical
    // ids look elsewhere first.
    static constexpr std::size_t RowsAhead = 16;
    void prefetchIndicesOf(const EntryRow& row) const noexcept
    {
        if (!canonical) {
            text::prefetchForRead(indexOfId.data() + row.text);
            text::prefetchForRead(indexOfId.data() + row.name);
        }
    }
};

// The string table of a save of entries that keeps kept at index 1, each
// distinct text found by its id alone. Equal texts share an id once the
// pool is indexed, and the table then maps the ids to the shared ones
// (canonical). Before, ids are taken as they stand, which gives the right
// table when no two of its strings are equal texts: the caller shows that
// (the strings' images are all different) or collects again after
// entries.texts.ensureIndexed(). Without the index, the kept string is looked
// for only as the loaded string 1.
[[nodiscard]] StringTable collectStrings(const EntryTable& entries, const QString& kept);

// What the model keeps of the string table a save wrote.
[[nodiscard]] StringListSummary summaryOf(const StringTable& strings);

} // namespace xom
