#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace xom {

// Finds the first position of a text among texts added in order, by exact
// code units: two texts are one only when they are the same code units, so
// texts that a collation holds equal (differing in control codes, zero-width
// characters or composed accents) stay apart. Open addressing over positions,
// with each text's hash kept beside it.
class TextIndex {
public:
    explicit TextIndex(std::size_t expectedTexts = 0);

    // Gives the first position of text among texts; when there is none,
    // appends text to texts and gives its new position.
    int addIfAbsent(const QString& text, std::vector<QString>& texts) { return addIfAbsent(text, hashOf(text), texts); }
    // The same with the text's hashOf computed beforehand.
    int addIfAbsent(const QString& text, std::uint32_t hash, std::vector<QString>& texts);

    [[nodiscard]] static std::uint32_t hashOf(QStringView text) noexcept;
    // Asks for the memory where a text of this hash is looked up first, so
    // that a batch of lookups waits for memory once rather than each in turn.
    void prefetch(const std::uint32_t hash) const noexcept { __builtin_prefetch(&m_slots[probeStart(hash)]); }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t position = -1;
    };

    [[nodiscard]] std::size_t probeStart(std::uint32_t hash) const noexcept { return hash & m_mask; }
    void grow();

    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    std::size_t m_used = 0;
};

} // namespace xom
