#pragma once

#include "xom/TextIndex.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

namespace xom {

// The id of a text in a TextPool.
using TextId = std::uint32_t;

// The texts of an entry table, each held once: equal texts (the same code
// units) have one id, so rows that share a name or a text share its id and a
// save finds a row's string by its id alone. The texts lie back to back in one
// buffer of UTF-16 code units; a text is never removed, so an id stays valid
// for the pool's life and undo can go back to a text by its id.
//
// A load adds a whole string table without looking up each text: the index
// of the texts is built when it is first needed (a lookup, a new text, or
// canonical ids), and a text the load added twice then maps to its first id
// through canonical(). A save of an unchanged file whose strings it finds
// distinct never needs the index.
//
// A view given by view() is valid until the next text is added.
class TextPool {
public:
    // The empty text, present in every pool.
    static constexpr TextId EmptyText = 0;

    TextPool();

    // The id of text, added when the pool does not hold it yet.
    TextId intern(QStringView text);
    // The id of text when the pool holds it.
    [[nodiscard]] std::optional<TextId> find(QStringView text) const;
    // The id that equal texts share: id itself, or the first id of its text
    // when a load added the text twice. Only after ensureIndexed().
    [[nodiscard]] TextId canonical(const TextId id) const noexcept
    {
        return id < m_firstEqual.size() ? m_firstEqual[id] : id;
    }
    // Whether every text is in the index, so that canonical() holds.
    [[nodiscard]] bool indexed() const noexcept { return m_indexedUpTo == size(); }
    // Takes the texts added without a lookup into the index (their hashes
    // made on two threads, one index filled on each).
    void ensureIndexed() const;

    [[nodiscard]] QStringView view(const TextId id) const noexcept
    {
        const std::uint64_t start = m_starts[id];
        return {m_units.data() + start, static_cast<qsizetype>(m_starts[id + 1] - start)};
    }
    [[nodiscard]] QString text(const TextId id) const { return view(id).toString(); }
    [[nodiscard]] std::size_t size() const noexcept { return m_starts.size() - 1; }

    // Writes a text straight into the pool: room for at most maxUnits units,
    // filled by the caller, then settled by endText with the units written.
    // endText gives the text's id, which is an earlier one when the pool held
    // the text already (the units written are then given back).
    [[nodiscard]] char16_t* beginText(std::size_t maxUnits);
    TextId endText(std::size_t unitsWritten);

    // A load's whole string table, added without looking for equal texts
    // (see canonical()) in two runs that two threads write at once. Each run
    // is sized beforehand: the exact number of texts it adds, and the most
    // units they can take in all. A run writes its texts one after another;
    // the first run's ids follow the pool's last, and the second run's
    // follow them and one more, a filler text that holds the room the first
    // run left unused (zeros), when the second run has texts.
    struct LoadRunSize {
        std::size_t texts = 0;
        std::size_t units = 0;
    };
    class LoadRun {
    public:
        // Where the run's next text is written: room for every unit the run
        // has left.
        [[nodiscard]] char16_t* nextText() const noexcept { return m_next; }
        // Settles the next text, of unitsWritten units; gives its id.
        TextId endText(const std::size_t unitsWritten) noexcept
        {
            m_next += unitsWritten;
            *m_ends++ = static_cast<std::uint64_t>(m_next - m_units);
            return m_id++;
        }

    private:
        friend class TextPool;
        char16_t* m_units = nullptr;
        char16_t* m_next = nullptr;
        char16_t* m_limit = nullptr; // the end of the run's room
        std::uint64_t* m_ends = nullptr;
        TextId m_id = 0;
        TextId m_endId = 0; // the id past the run's last text
    };
    [[nodiscard]] std::array<LoadRun, 2> beginLoad(LoadRunSize first, LoadRunSize second);
    // Settles the load once both runs have written every text they were
    // sized for.
    void endLoad(const std::array<LoadRun, 2>& runs);

    // Code units held, dropped texts included: what the pool costs.
    [[nodiscard]] std::size_t unitCount() const noexcept { return m_units.size(); }

    friend bool operator==(const TextPool&, const TextPool&) = delete;

private:
    [[nodiscard]] auto textAt() const
    {
        return [this](const int id) { return view(static_cast<TextId>(id)); };
    }

    // Units and starts are written by the caller right after they are made
    // room for: the vector leaves new ones unset rather than zeroing them
    // first.
    template <typename T> struct Unset : std::allocator<T> {
        template <typename U> struct rebind {
            using other = Unset<U>;
        };
        Unset() = default;
        template <typename U> Unset(const Unset<U>&) noexcept { } // NOLINT: converts as allocators do
        template <typename U> void construct(U* at) noexcept { ::new (static_cast<void*>(at)) U; }
        template <typename U, typename... Args> void construct(U* at, Args&&... args)
        {
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
        }
    };
    std::vector<char16_t, Unset<char16_t>> m_units;
    // Text id's units are m_units[m_starts[id] .. m_starts[id + 1]).
    std::vector<std::uint64_t, Unset<std::uint64_t>> m_starts;
    // Two indexes, each for the texts whose hash has its top bit clear or
    // set: equal texts always meet in the same one, and a load fills the
    // two on two threads.
    // Built on demand by a const lookup, hence mutable; the pool is used
    // from one thread at a time.
    mutable std::array<TextIndex, 2> m_indexes;
    // The texts below it are in the index.
    mutable std::size_t m_indexedUpTo = 0;
    // Per id, the first id of its text, when some text was added twice
    // unindexed; empty when none was.
    mutable std::vector<TextId> m_firstEqual;
    [[nodiscard]] TextIndex& indexFor(const std::uint32_t hash) const noexcept { return m_indexes[hash >> 31]; }
};

} // namespace xom
