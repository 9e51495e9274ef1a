#include "text/CaseFolding.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <vector>

namespace text {

namespace {

// Per BMP code point, filled on first use: the one unit it folds to, 0 when
// not yet known, or Expands when its folding is longer than one unit.
constexpr char16_t Expands = 0xFFFF;

std::vector<char16_t>& bmpFoldings()
{
    static std::vector<char16_t> foldings(0x10000, 0);
    return foldings;
}

int foldWithIcu(const char32_t codePoint, char16_t* const out)
{
    UChar source[2];
    int32_t sourceLength = 0;
    U16_APPEND_UNSAFE(source, sourceLength, static_cast<UChar32>(codePoint));
    if (U16_IS_SURROGATE(source[0]) && sourceLength == 1) {
        out[0] = source[0];
        return 1;
    }
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = u_strFoldCase(out, MaxFoldedUnits, source, sourceLength, U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status) || length <= 0) {
        for (int32_t i = 0; i < sourceLength; ++i)
            out[i] = source[i];
        return sourceLength;
    }
    return length;
}

} // namespace

int foldCodePoint(const char32_t codePoint, char16_t* const out)
{
    if (codePoint < 0x80) {
        out[0] = static_cast<char16_t>(codePoint >= u'A' && codePoint <= u'Z' ? codePoint + 0x20 : codePoint);
        return 1;
    }
    if (codePoint > 0xFFFF)
        return foldWithIcu(codePoint, out);
    char16_t& known = bmpFoldings()[codePoint];
    if (known == 0) {
        char16_t folded[MaxFoldedUnits];
        known = foldWithIcu(codePoint, folded) == 1 && folded[0] != Expands ? folded[0] : Expands;
    }
    if (known != Expands) {
        out[0] = known;
        return 1;
    }
    return foldWithIcu(codePoint, out);
}

std::u16string foldCase(const QStringView text)
{
    std::u16string folded;
    folded.reserve(static_cast<std::size_t>(text.size()));
    char16_t buffer[MaxFoldedUnits];
    const char16_t* const units = text.utf16();
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count;) {
        char32_t codePoint = units[i++];
        if (U16_IS_LEAD(codePoint) && i < count && U16_IS_TRAIL(units[i]))
            codePoint = U16_GET_SUPPLEMENTARY(codePoint, units[i++]);
        folded.append(buffer, static_cast<std::size_t>(foldCodePoint(codePoint, buffer)));
    }
    return folded;
}

} // namespace text
