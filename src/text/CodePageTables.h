#pragma once

#include <cstdint>
#include <span>

namespace text {

// Windows' own conversion tables of one ANSI code page, compiled into the
// program from the published best-fit files (third_party/windows-best-fit)
// by the build's table generator, which refuses any file that breaks the
// promises below.
//
// Promises of every table:
// - bytes and units 0x00-0x7F map to each other one to one, both ways;
// - every wide mapping's bytes decode back through singleBytes or pairs:
//   a single byte is no lead byte, a pair's lead byte is one;
// - no mapping gives byte 0 or a trail byte 0, except U+0000 to byte 0;
// - no wide mapping is for a surrogate, and no byte or pair decodes to a
//   surrogate or to U+FFFF;
// - defaultByte is an ASCII byte.
struct CodePageTables {
    // A character in bytes: the byte alone (below 0x100), or the lead byte
    // times 0x100 plus the trail byte.
    using Bytes = std::uint16_t;

    struct WideMapping {
        char16_t unit;
        Bytes bytes;
    };
    struct PairMapping {
        Bytes bytes;
        char16_t unit;
    };
    struct LeadRange {
        std::uint8_t first;
        std::uint8_t last;
    };

    int number;
    // The byte for a unit that no wide mapping covers.
    std::uint8_t defaultByte;
    // What a byte or pair that no table assigns decodes to.
    char16_t defaultUnit;
    // Per byte, the unit it decodes to alone; a lead byte's entry is
    // defaultUnit.
    std::span<const char16_t, 256> singleBytes;
    // Empty for a single-byte code page.
    std::span<const LeadRange> leadRanges;
    // The double-byte characters, ordered by bytes.
    std::span<const PairMapping> pairs;
    // Every unit the code page writes, its own characters and its best fits,
    // ordered by unit.
    std::span<const WideMapping> wide;
};

// The tables of the code page numbered number, or nullptr when the editor
// has none for it.
[[nodiscard]] const CodePageTables* findCodePageTables(int number) noexcept;

} // namespace text
