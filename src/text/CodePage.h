#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

struct UConverter;

namespace text {

// One ANSI code page of the run: its ICU converter and the per-unit tables
// built from it. Images and decodings are made from the tables; the
// converter is asked once per distinct UTF-16 unit or byte pair, the first
// time that unit or pair is met, and never again.
//
// Every one of these code pages maps ASCII to itself both ways. ICU's table
// for 932 swaps the control codes 0x1A, 0x1C and 0x7F as IBM's code pages do;
// Windows does not, so ASCII never goes through the converter.
class CodePage {
public:
    // Throws std::invalid_argument for a code page this editor does not know
    // and std::runtime_error when ICU cannot open its converter.
    explicit CodePage(int number);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    // The ICU converter that stands in for a Windows code page, or nullptr.
    [[nodiscard]] static const char* converterName(int number) noexcept;

    // The most bytes one UTF-16 unit can take in an image: 1 or 2.
    [[nodiscard]] int maxBytesPerUnit() const noexcept { return m_doubleByte ? 2 : 1; }

    // Appends the image of text. A valid surrogate pair and a lone surrogate
    // each become one "?".
    void appendImage(QStringView text, QByteArray& out);

    // Decodes an image into out, which must have room for image.size()
    // units; gives the number written. Each character of the image gives
    // exactly one unit; a byte that starts no valid character gives U+FFFD.
    qsizetype decode(QByteArrayView image, char16_t* out);

    // The same units as decode(image of text), without making the image;
    // out must have room for text.size() units. Gives the number written.
    qsizetype roundTrip(QStringView text, char16_t* out);

private:
    struct Converted {
        std::uint8_t length = 0; // 0: the converter has no mapping
        std::uint8_t bytes[2] = {0, 0};
    };

    [[nodiscard]] Converted convert(char32_t codePoint);
    [[nodiscard]] Converted bestImage(char16_t unit);
    [[nodiscard]] std::uint32_t unitEntry(const char16_t unit)
    {
        const std::uint32_t entry = m_units[unit];
        return entry != 0 ? entry : fillUnitEntry(unit);
    }
    [[nodiscard]] std::uint32_t fillUnitEntry(char16_t unit);
    [[nodiscard]] char16_t decodePair(unsigned char lead, unsigned char trail);

    struct ConverterCloser {
        void operator()(UConverter* converter) const noexcept;
    };

    bool m_doubleByte = false;
    std::unique_ptr<UConverter, ConverterCloser> m_converter;
    // Per byte: the unit it decodes to alone, or LeadByte.
    std::vector<char16_t> m_bytes;
    // Per UTF-16 unit, filled on first use (0 = not yet): bits 0-7 the first
    // image byte (never 0 for a unit outside ASCII), bits 8-15 the second
    // byte or 0 for a one-byte image, bits 16-31 the unit that the image
    // decodes back to.
    std::vector<std::uint32_t> m_units;
    // Per lead byte 0x80-0xFF and trail byte, filled on first use (0 = not
    // yet): the unit the pair decodes to, or InvalidPair.
    std::vector<char16_t> m_pairs;
};

} // namespace text
