#include "text/CaseFolding.h"

#include "text/TextEnvironment.h"

#include <QLocale>

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <vector>

namespace text {

namespace {

// The folding of every BMP unit under one set of rules. Simple folding maps
// the BMP into itself and every surrogate to itself, so one table lookup
// folds any unit that is not half of a pair.
class BmpFoldings {
public:
    explicit BmpFoldings(const FoldingRules rules)
        : m_units(0x10000)
    {
        const uint32_t options = rules == FoldingRules::Turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT;
        for (UChar32 unit = 0; unit < 0x10000; ++unit)
            m_units[static_cast<std::size_t>(unit)] = static_cast<char16_t>(u_foldCase(unit, options));
    }

    [[nodiscard]] char16_t operator[](const char16_t unit) const noexcept { return m_units[unit]; }

private:
    std::vector<char16_t> m_units;
};

const BmpFoldings& bmpFoldings(const FoldingRules rules)
{
    static const BmpFoldings defaults(FoldingRules::Default);
    static const BmpFoldings turkic(FoldingRules::Turkic);
    return rules == FoldingRules::Turkic ? turkic : defaults;
}

uint32_t icuOptions(const FoldingRules rules) noexcept
{
    return rules == FoldingRules::Turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT;
}

} // namespace

FoldingRules foldingRulesForLocale(const QString& localeName)
{
    const QLocale::Language language = QLocale(localeName).language();
    return language == QLocale::Turkish || language == QLocale::Azerbaijani ? FoldingRules::Turkic
                                                                            : FoldingRules::Default;
}

FoldingRules currentFoldingRules()
{
    return foldingRulesForLocale(currentTextEnvironment().localeName);
}

char32_t foldCodePoint(const char32_t codePoint, const FoldingRules rules)
{
    if (codePoint < 0x10000)
        return bmpFoldings(rules)[static_cast<char16_t>(codePoint)];
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(codePoint), icuOptions(rules)));
}

void foldCaseInto(const QStringView text, const FoldingRules rules, std::u16string& out)
{
    const BmpFoldings& table = bmpFoldings(rules);
    const char16_t* const units = text.utf16();
    const std::size_t count = static_cast<std::size_t>(text.size());
    out.resize(count);
    char16_t* const folded = out.data();
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t unit = units[i];
        if (!U16_IS_LEAD(unit) || i + 1 == count || !U16_IS_TRAIL(units[i + 1])) {
            folded[i] = table[unit];
            continue;
        }
        const UChar32 pair = U16_GET_SUPPLEMENTARY(unit, units[i + 1]);
        const UChar32 foldedPair = u_foldCase(pair, icuOptions(rules));
        folded[i] = U16_LEAD(foldedPair);
        folded[i + 1] = U16_TRAIL(foldedPair);
        ++i;
    }
}

std::u16string foldCase(const QStringView text, const FoldingRules rules)
{
    std::u16string folded;
    foldCaseInto(text, rules, folded);
    return folded;
}

} // namespace text
