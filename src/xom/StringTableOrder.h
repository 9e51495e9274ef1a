#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace xom {

// The order in which a saved string table lays out the bytes of its strings:
// the list indices 1 .. imageEnds.size() - 1 as the list's quicksort leaves
// them when it compares the strings' ANSI images bytewise. images holds the
// images back to back in list order; string k's image ends at imageEnds[k]
// and begins where string k - 1's ends (string 0's image is empty, so
// imageEnds[0] == 0). imageEnds is ascending and its last value is within
// images; the list holds fewer than 2^31 strings.
//
// When no two images are equal, every correct sort gives the quicksort's
// order, and a faster sort on both cores gives it; when two are equal, only
// the quicksort itself knows where they end, and it runs instead. Beyond the
// result, the fast sort takes 20 bytes a string.
[[nodiscard]] std::vector<std::int32_t> stringTableOrder(
    const unsigned char* images, std::span<const std::uint32_t> imageEnds);

// The same order when no two images are equal, by the faster sort alone;
// nothing when two are.
[[nodiscard]] std::optional<std::vector<std::int32_t>> distinctImagesOrder(
    const unsigned char* images, std::span<const std::uint32_t> imageEnds);

// The same order, always by the list's quicksort.
[[nodiscard]] std::vector<std::int32_t> exactStringTableOrder(
    const unsigned char* images, std::span<const std::uint32_t> imageEnds);

} // namespace xom
