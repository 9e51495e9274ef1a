#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace text {

struct CodePageTables;

// One ANSI code page of the run, with per-unit and per-byte tables unpacked
// from Windows' own conversion tables (CodePageTables) when it is made:
// images and decodings are single lookups. A unit that the code page's
// tables map, whether to its own character or to a best fit, becomes those
// bytes; every other unit becomes the default character "?". ASCII maps to
// itself both ways on every code page.
class CodePage {
public:
    // Throws std::invalid_argument for a code page this editor has no tables
    // for.
    explicit CodePage(int number);
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    // The most bytes one UTF-16 unit can take in an image: 1 or 2.
    [[nodiscard]] int maxBytesPerUnit() const noexcept { return m_doubleByte ? 2 : 1; }

    // Appends the image of text. A valid surrogate pair and a lone surrogate
    // each become one default character.
    void appendImage(QStringView text, QByteArray& out) const;
    // Writes the same bytes at out, which has room for text.size() *
    // maxBytesPerUnit() bytes; gives the position past them.
    char* writeImage(QStringView text, char* out) const noexcept;

    // Decodes an image into out, which must have room for image.size()
    // units; gives the number written. Each character of the image gives
    // exactly one unit. A byte or byte pair that the tables do not assign
    // gives the code page's default unit ("?", or U+30FB on 932); a lead
    // byte that starts no assigned pair is taken alone and the byte after it
    // decoded on its own.
    qsizetype decode(QByteArrayView image, char16_t* out) const;

    // The same units as decode(image of text), without making the image;
    // out must have room for text.size() units. Gives the number written.
    qsizetype roundTrip(QStringView text, char16_t* out) const;

private:
    void unpack(const CodePageTables& tables);

    bool m_doubleByte = false;
    char m_defaultByte = '?';
    char16_t m_defaultBack = u'?';
    char16_t m_defaultUnit = u'?';
    // Per byte: the unit it decodes to alone, or LeadByte.
    std::vector<char16_t> m_bytes;
    // Per UTF-16 unit: bits 0-7 the first image byte, bits 8-15 the second
    // byte or 0 for a one-byte image, bits 16-31 the unit that the image
    // decodes back to.
    std::vector<std::uint32_t> m_units;
    // Per lead byte 0x80-0xFF and trail byte: the unit the pair decodes to,
    // or Unassigned.
    std::vector<char16_t> m_pairs;
};

} // namespace text
