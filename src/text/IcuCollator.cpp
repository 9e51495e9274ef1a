#include "text/IcuCollator.h"

#include <unicode/ucol.h>

#include <cstdint>
#include <stdexcept>

namespace text {

namespace {

// ICU takes a null pointer only with an explicit length of zero on some
// paths; an empty view is given as an empty string instead.
const UChar* unitsOf(const std::u16string_view text) noexcept
{
    return text.empty() ? u"" : text.data();
}

int32_t lengthOf(const std::u16string_view text) noexcept
{
    return static_cast<int32_t>(text.size());
}

} // namespace

void IcuCollator::CollatorCloser::operator()(UCollator* collator) const noexcept
{
    ucol_close(collator);
}

IcuCollator::IcuCollator(const std::string& icuLocale, const bool caseSensitive)
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator.reset(ucol_open(icuLocale.c_str(), &status));
    if (U_FAILURE(status))
        throw std::runtime_error("cannot open the ICU collator for \"" + icuLocale + "\": " + u_errorName(status));
    ucol_setStrength(m_collator.get(), caseSensitive ? UCOL_TERTIARY : UCOL_SECONDARY);
}

IcuCollator::~IcuCollator() = default;

int IcuCollator::compare(const std::u16string_view a, const std::u16string_view b) const
{
    const UCollationResult result = ucol_strcoll(m_collator.get(), unitsOf(a), lengthOf(a), unitsOf(b), lengthOf(b));
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

QByteArray IcuCollator::sortKey(const std::u16string_view text) const
{
    // Most keys fit the stack buffer, so a key costs one allocation of its
    // exact size.
    std::uint8_t buffer[512];
    const int32_t needed = ucol_getSortKey(m_collator.get(), unitsOf(text), lengthOf(text), buffer, sizeof buffer);
    if (needed <= 1)
        return {};
    if (static_cast<std::size_t>(needed) <= sizeof buffer)
        return QByteArray(reinterpret_cast<const char*>(buffer), needed - 1);
    QByteArray key(needed, Qt::Uninitialized);
    auto* const bytes = reinterpret_cast<std::uint8_t*>(key.data());
    ucol_getSortKey(m_collator.get(), unitsOf(text), lengthOf(text), bytes, needed);
    key.resize(needed - 1);
    return key;
}

} // namespace text
