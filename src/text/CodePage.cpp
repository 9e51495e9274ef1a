#include "text/CodePage.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <QChar>

#include <stdexcept>
#include <string>

namespace text {

namespace {

// Marks a byte that only starts a two-byte character, and a byte pair that
// is no character; no character of these code pages decodes to U+FFFF.
constexpr char16_t LeadByte = 0xFFFF;
constexpr char16_t InvalidPair = 0xFFFF;
constexpr char16_t Replacement = 0xFFFD;
constexpr unsigned char DefaultChar = '?';

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

struct CodePageConverter {
    int number;
    const char* icuName;
};

// The ICU tables of Microsoft's code pages: "windows-125x", the "-2000"
// tables, and for 932 the table ICU also calls "windows-31j" (its control
// code swap never shows, as ASCII does not reach the converter).
constexpr CodePageConverter Converters[] = {
    {874, "windows-874-2000"},
    {932, "ibm-943_P15A-2003"},
    {936, "windows-936-2000"},
    {949, "windows-949-2000"},
    {950, "windows-950-2000"},
    {1250, "windows-1250"},
    {1251, "windows-1251"},
    {1252, "windows-1252"},
    {1253, "windows-1253"},
    {1254, "windows-1254"},
    {1255, "windows-1255"},
    {1256, "windows-1256"},
    {1257, "windows-1257"},
    {1258, "windows-1258"},
};

struct PlainLetterFit {
    char16_t letter;
    char fit;
};

// Letters drawn from a plain ASCII letter with a stroke or without its dot,
// which Unicode gives no canonical decomposition to take that letter from.
constexpr PlainLetterFit PlainLetterFits[] = {
    {0x00D8, 'O'},
    {0x00F8, 'o'},
    {0x0110, 'D'},
    {0x0111, 'd'},
    {0x0126, 'H'},
    {0x0127, 'h'},
    {0x0131, 'i'},
    {0x013F, 'L'},
    {0x0140, 'l'},
    {0x0141, 'L'},
    {0x0142, 'l'},
    {0x0166, 'T'},
    {0x0167, 't'},
};

constexpr std::size_t pairIndex(const unsigned char lead, const unsigned char trail)
{
    return static_cast<std::size_t>(lead - 0x80) * 256 + trail;
}

} // namespace

void CodePage::ConverterCloser::operator()(UConverter* converter) const noexcept
{
    ucnv_close(converter);
}

const char* CodePage::converterName(const int number) noexcept
{
    for (const CodePageConverter& entry : Converters) {
        if (entry.number == number)
            return entry.icuName;
    }
    return nullptr;
}

CodePage::CodePage(const int number)
{
    const char* const name = converterName(number);
    if (name == nullptr)
        throw std::invalid_argument("no ANSI code page " + std::to_string(number));
    UErrorCode status = U_ZERO_ERROR;
    m_converter.reset(ucnv_open(name, &status));
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("cannot open the ICU converter ") + name + ": " + u_errorName(status));
    // A STOP callback in both directions leaves "?" and U+FFFD to this class;
    // the converters' own substitution bytes (mostly 0x1A) never appear.
    ucnv_setFromUCallBack(m_converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(m_converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("cannot set up the ICU converter ") + name + ": " + u_errorName(status));
    // The tables' one-way mappings give the best fit for the characters they
    // cover: full-width forms to ASCII, Arabic presentation forms to letters
    // and the like.
    ucnv_setFallback(m_converter.get(), true);
    m_doubleByte = ucnv_getMaxCharSize(m_converter.get()) > 1;

    m_bytes.resize(256);
    for (int byte = 0; byte < 256; ++byte) {
        if (byte < 0x80) {
            m_bytes[static_cast<std::size_t>(byte)] = static_cast<char16_t>(byte);
            continue;
        }
        const char source = static_cast<char>(byte);
        UChar decoded[4];
        UErrorCode decodeStatus = U_ZERO_ERROR;
        const int32_t length = ucnv_toUChars(m_converter.get(), decoded, 4, &source, 1, &decodeStatus);
        char16_t unit = Replacement;
        if (decodeStatus == U_TRUNCATED_CHAR_FOUND)
            unit = LeadByte;
        else if (U_SUCCESS(decodeStatus) && length == 1)
            unit = decoded[0];
        m_bytes[static_cast<std::size_t>(byte)] = unit;
    }
    m_units.assign(0x10000, 0);
    if (m_doubleByte)
        m_pairs.assign(pairIndex(0xFF, 0xFF) + 1, 0);
}

CodePage::~CodePage() = default;

CodePage::Converted CodePage::convert(const char32_t codePoint)
{
    UChar source[2];
    int32_t sourceLength = 0;
    U16_APPEND_UNSAFE(source, sourceLength, static_cast<UChar32>(codePoint));
    char bytes[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(m_converter.get(), bytes, sizeof bytes, source, sourceLength, &status);
    // Byte 0 stands only for U+0000, which never comes here, and no second
    // byte of a double-byte character is 0.
    if (U_FAILURE(status) || length < 1 || length > 2 || bytes[0] == 0 || bytes[length - 1] == 0)
        return {};
    Converted out;
    out.length = static_cast<std::uint8_t>(length);
    out.bytes[0] = static_cast<std::uint8_t>(bytes[0]);
    out.bytes[1] = length == 2 ? static_cast<std::uint8_t>(bytes[1]) : 0;
    return out;
}

CodePage::Converted CodePage::bestImage(const char16_t unit)
{
    if (const Converted direct = convert(unit); direct.length != 0)
        return direct;

    // Best fit for an accented letter: follow its canonical decomposition one
    // step at a time ("ǻ" to "å" to "a") and take the first letter on the way
    // that the code page has. A one-character decomposition is the same
    // character under another code point ("Å" for the angstrom sign) and is
    // taken whatever it is.
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* const nfd = unorm2_getNFDInstance(&status);
    UChar32 current = unit;
    while (U_SUCCESS(status)) {
        UChar mapping[32];
        const int32_t length = unorm2_getRawDecomposition(nfd, current, mapping, 32, &status);
        if (U_FAILURE(status) || length <= 0)
            break;
        int32_t next = 0;
        UChar32 first = 0;
        U16_NEXT(mapping, next, length, first);
        if (next != length && !u_isalpha(first))
            break;
        if (const Converted fit = convert(static_cast<char32_t>(first)); fit.length != 0)
            return fit;
        current = first;
    }

    for (const PlainLetterFit& entry : PlainLetterFits) {
        if (entry.letter == unit)
            return Converted{1, {static_cast<std::uint8_t>(entry.fit), 0}};
    }
    return Converted{1, {DefaultChar, 0}};
}

std::uint32_t CodePage::fillUnitEntry(const char16_t unit)
{
    const Converted image = QChar::isSurrogate(unit) ? Converted{1, {DefaultChar, 0}} : bestImage(unit);
    char16_t back = 0;
    const char bytes[2] = {static_cast<char>(image.bytes[0]), static_cast<char>(image.bytes[1])};
    if (decode(QByteArrayView(bytes, image.length), &back) != 1)
        back = Replacement;
    const std::uint32_t entry
        = image.bytes[0] | (static_cast<std::uint32_t>(image.bytes[1]) << 8) | (static_cast<std::uint32_t>(back) << 16);
    m_units[unit] = entry;
    return entry;
}

char16_t CodePage::decodePair(const unsigned char lead, const unsigned char trail)
{
    char16_t& entry = m_pairs[pairIndex(lead, trail)];
    if (entry == 0) {
        const char source[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        UChar decoded[4];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucnv_toUChars(m_converter.get(), decoded, 4, source, 2, &status);
        entry = (U_SUCCESS(status) && length == 1 && decoded[0] != 0) ? decoded[0] : InvalidPair;
    }
    return entry;
}

void CodePage::appendImage(const QStringView text, QByteArray& out)
{
    const qsizetype start = out.size();
    out.resize(start + text.size() * maxBytesPerUnit());
    char* const begin = out.data();
    char* next = begin + start;
    walkImageCharacters(
        text, [&](const char16_t ascii) { *next++ = static_cast<char>(ascii); },
        [&] { *next++ = static_cast<char>(DefaultChar); },
        [&](const char16_t unit) {
            const std::uint32_t entry = unitEntry(unit);
            *next++ = static_cast<char>(entry & 0xFF);
            if (const std::uint32_t second = (entry >> 8) & 0xFF; second != 0)
                *next++ = static_cast<char>(second);
        });
    out.resize(next - begin);
}

qsizetype CodePage::decode(const QByteArrayView image, char16_t* const out)
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
            if (const char16_t pair = decodePair(byte, bytes[i + 1]); pair != InvalidPair) {
                *next++ = pair;
                ++i;
                continue;
            }
        }
        *next++ = Replacement;
    }
    return next - out;
}

qsizetype CodePage::roundTrip(const QStringView text, char16_t* const out)
{
    char16_t* next = out;
    walkImageCharacters(
        text, [&](const char16_t ascii) { *next++ = ascii; }, [&] { *next++ = DefaultChar; },
        [&](const char16_t unit) { *next++ = static_cast<char16_t>(unitEntry(unit) >> 16); });
    return next - out;
}

} // namespace text
