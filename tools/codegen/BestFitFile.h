#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace codegen {

// A best-fit file that cannot be read, or whose tables this editor's image
// code cannot rely on; the message names the file and, where there is one,
// the line.
class BestFitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One published Windows code page file: its tags and records, as read.
struct BestFitFile {
    struct WideMapping {
        char16_t unit;
        std::uint16_t bytes; // the byte alone, or lead * 0x100 + trail
    };
    struct PairMapping {
        std::uint16_t bytes;
        char16_t unit;
    };
    struct LeadRange {
        std::uint8_t first;
        std::uint8_t last;
    };

    int number = 0;
    bool doubleByte = false;
    std::uint8_t defaultByte = 0;
    char16_t defaultUnit = 0;
    std::array<std::optional<char16_t>, 256> singleBytes{};
    std::vector<LeadRange> leadRanges;
    std::vector<PairMapping> pairs; // ordered by bytes
    std::vector<WideMapping> wide;  // ordered by unit

    [[nodiscard]] bool isLeadByte(unsigned byte) const noexcept;
    // The unit bytes decode to, if a table assigns one.
    [[nodiscard]] std::optional<char16_t> decode(std::uint16_t bytes) const;
};

// Reads a file in the published format: "CODEPAGE", "CPINFO", "MBTABLE",
// "DBCSRANGE" with its "DBCSTABLE"s, "WCTABLE", up to "ENDCODEPAGE"; text
// after ";" is a comment. Every table holds exactly the number of records its
// tag announces. Throws BestFitError.
[[nodiscard]] BestFitFile readBestFitFile(const std::filesystem::path& path);

// Throws BestFitError unless the file keeps every promise the image code
// builds on (listed beside the compiled tables' declaration).
void checkImagePromises(const BestFitFile& file, const std::string& name);

} // namespace codegen
