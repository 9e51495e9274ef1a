#include "text/CodePage.h"

#include "text/CodePageTables.h"

#include <QChar>

#include <stdexcept>
#include <string>

namespace text {

namespace {

// Marks a byte that only starts a two-byte character, and a byte pair that
// no table assigns; the tables promise that no character decodes to U+FFFF.
constexpr char16_t LeadByte = 0xFFFF;
constexpr char16_t Unassigned = 0xFFFF;

// Walks text as an image is made of it: a unit below 0x80 stands for itself,
// a surrogate pair or a lone surrogate is one default character, and every
// other unit goes to its table entry.
template <typename Ascii, typename Default, typename Other>
void walkImageCharacters(const QStringView text, Ascii&& ascii, Default&& defaultCharacter, Other&& other)
{
    const char16_t* const units = text.utf16();
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t unit = units[i];
        if (unit < 0x80) {
            ascii(unit);
        } else if (QChar::isSurrogate(unit)) {
            if (QChar::isHighSurrogate(unit) && i + 1 < count && QChar::isLowSurrogate(units[i + 1]))
                ++i;
            defaultCharacter();
        } else {
            other(unit);
        }
    }
}

constexpr std::size_t pairIndex(const unsigned lead, const unsigned trail)
{
    return static_cast<std::size_t>(lead - 0x80) * 256 + trail;
}

} // namespace

CodePage::CodePage(const int number)
{
    const CodePageTables* const tables = findCodePageTables(number);
    if (tables == nullptr)
        throw std::invalid_argument("no ANSI code page " + std::to_string(number));
    unpack(*tables);
}

void CodePage::unpack(const CodePageTables& tables)
{
    m_doubleByte = !tables.leadRanges.empty();
    m_bytes.assign(tables.singleBytes.begin(), tables.singleBytes.end());
    for (const CodePageTables::LeadRange& range : tables.leadRanges) {
        for (unsigned lead = range.first; lead <= range.last; ++lead)
            m_bytes[lead] = LeadByte;
    }
    if (m_doubleByte) {
        m_pairs.assign(pairIndex(0xFF, 0xFF) + 1, Unassigned);
        for (const CodePageTables::PairMapping& pair : tables.pairs)
            m_pairs[pairIndex(pair.bytes >> 8, pair.bytes & 0xFF)] = pair.unit;
    }

    const auto entryFor = [&](const CodePageTables::Bytes bytes) {
        const char16_t back = bytes < 0x100 ? m_bytes[bytes] : m_pairs[pairIndex(bytes >> 8, bytes & 0xFF)];
        // A two-byte image keeps its lead byte first.
        const std::uint32_t image
            = bytes < 0x100 ? bytes : (bytes >> 8) | (static_cast<std::uint32_t>(bytes & 0xFF) << 8);
        return image | static_cast<std::uint32_t>(back) << 16;
    };
    m_defaultByte = static_cast<char>(tables.defaultByte);
    m_defaultBack = m_bytes[tables.defaultByte];
    m_defaultUnit = tables.defaultUnit;
    m_units.assign(0x10000, entryFor(tables.defaultByte));
    for (const CodePageTables::WideMapping& mapping : tables.wide)
        m_units[mapping.unit] = entryFor(mapping.bytes);
}

void CodePage::appendImage(const QStringView text, QByteArray& out) const
{
    const qsizetype start = out.size();
    out.resize(start + text.size() * maxBytesPerUnit());
    char* const begin = out.data();
    out.resize(writeImage(text, begin + start) - begin);
}

char* CodePage::writeImage(const QStringView text, char* next) const noexcept
{
    walkImageCharacters(
        text, [&](const char16_t ascii) { *next++ = static_cast<char>(ascii); }, [&] { *next++ = m_defaultByte; },
        [&](const char16_t unit) {
            const std::uint32_t entry = m_units[unit];
            *next++ = static_cast<char>(entry & 0xFF);
            if (const std::uint32_t second = (entry >> 8) & 0xFF; second != 0)
                *next++ = static_cast<char>(second);
        });
    return next;
}

qsizetype CodePage::decode(const QByteArrayView image, char16_t* const out) const
{
    const auto* const bytes = reinterpret_cast<const unsigned char*>(image.data());
    const qsizetype count = image.size();
    char16_t* next = out;
    for (qsizetype i = 0; i < count; ++i) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            *next++ = byte;
            continue;
        }
        const char16_t alone = m_bytes[byte];
        if (alone != LeadByte) {
            *next++ = alone;
            continue;
        }
        if (i + 1 < count) {
            if (const char16_t pair = m_pairs[pairIndex(byte, bytes[i + 1])]; pair != Unassigned) {
                *next++ = pair;
                ++i;
                continue;
            }
        }
        *next++ = m_defaultUnit;
    }
    return next - out;
}

qsizetype CodePage::roundTrip(const QStringView text, char16_t* const out) const
{
    char16_t* next = out;
    walkImageCharacters(
        text, [&](const char16_t ascii) { *next++ = ascii; }, [&] { *next++ = m_defaultBack; },
        [&](const char16_t unit) { *next++ = static_cast<char16_t>(m_units[unit] >> 16); });
    return next - out;
}

} // namespace text
