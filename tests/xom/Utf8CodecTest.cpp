#include "xom/Utf8Codec.h"

#include "support/FileBuilder.h"
#include "xom/LanguageFileReader.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

namespace {

QString units(std::initializer_list<char16_t> codeUnits)
{
    QString s;
    for (const char16_t u : codeUnits)
        s += QChar(u);
    return s;
}

using testsupport::bytes;
using testsupport::decodedUtf8;
using testsupport::utf8;

// The bytes writeUtf8 puts in a buffer of exactly utf8Length bytes, or a
// note of how far it strayed from that end.
QByteArray writtenUtf8(const QString& text)
{
    QByteArray written(xom::utf8Length(text), '\0');
    const char* const end = xom::writeUtf8(text, written.data());
    if (end != written.data() + written.size())
        return QByteArrayLiteral("ended at ") + QByteArray::number(end - written.data());
    return written;
}

struct CodecCase {
    const char* what;
    QString text;
    QByteArray utf8;
};

class EncodeAndDecode : public testing::TestWithParam<CodecCase> { };

TEST_P(EncodeAndDecode, WritesTheEditorsFormAndReadsItBack)
{
    const CodecCase& c = GetParam();
    EXPECT_EQ(utf8(c.text), c.utf8) << c.what;
    EXPECT_EQ(writtenUtf8(c.text), c.utf8) << c.what;
    EXPECT_EQ(xom::utf8Length(c.text), c.utf8.size()) << c.what;
    EXPECT_EQ(decodedUtf8(c.utf8), c.text) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Utf8, EncodeAndDecode,
    testing::Values(CodecCase{"empty", QString(), QByteArray()},
        CodecCase{"ascii", QStringLiteral("FE.NewString"), QByteArray("FE.NewString")},
        CodecCase{"e acute", units({0x00E9}), bytes({0xC3, 0xA9})},
        CodecCase{"euro", units({0x20AC}), bytes({0xE2, 0x82, 0xAC})},
        CodecCase{
            "emoji as two three-byte groups", units({0xD83D, 0xDE00}), bytes({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80})},
        CodecCase{"lone high surrogate", units({0x41, 0xD800, 0x42}), bytes({0x41, 0xED, 0xA0, 0x80, 0x42})},
        CodecCase{"lone low surrogate", units({0xDFFF}), bytes({0xED, 0xBF, 0xBF})},
        CodecCase{"nul is one zero byte", units({0x41, 0x0000, 0x42}), bytes({0x41, 0x00, 0x42})},
        CodecCase{"last two-byte unit", units({0x07FF}), bytes({0xDF, 0xBF})},
        CodecCase{"first three-byte unit", units({0x0800}), bytes({0xE0, 0xA0, 0x80})},
        CodecCase{"last unit", units({0xFFFF}), bytes({0xEF, 0xBF, 0xBF})},
        CodecCase{"crlf", QStringLiteral("a\r\nb"), QByteArray("a\r\nb")}));

struct DecodeCase {
    const char* what;
    QByteArray utf8;
    QString text;
};

class DecodeOnly : public testing::TestWithParam<DecodeCase> { };

TEST_P(DecodeOnly, KeepsEverythingItCanRead)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(decodedUtf8(c.utf8), c.text) << c.what;
}

// A bad byte costs one U+FFFD for what it consumed, never the whole text.
INSTANTIATE_TEST_SUITE_P(Utf8, DecodeOnly,
    testing::Values(
        DecodeCase{"four-byte form gives its surrogate pair", bytes({0xF0, 0x9F, 0x98, 0x80}), units({0xD83D, 0xDE00})},
        DecodeCase{"highest code point", bytes({0xF4, 0x8F, 0xBF, 0xBF}), units({0xDBFF, 0xDFFF})},
        DecodeCase{"four-byte form beyond U+10FFFF", bytes({0xF4, 0x90, 0x80, 0x80}), units({0xFFFD})},
        DecodeCase{"overlong four-byte form", bytes({0xF0, 0x80, 0x80, 0x80, 0x41}), units({0xFFFD, 0x41})},
        DecodeCase{"lead at the end", bytes({0xC3}), units({0xFFFD})},
        DecodeCase{"stray continuation after a letter", bytes({0x41, 0x80}), units({0x41, 0xFFFD})},
        DecodeCase{"stray continuation before a letter", bytes({0x80, 0x41}), units({0xFFFD, 0x41})},
        DecodeCase{"three-byte form cut by a letter", bytes({0xE2, 0x82, 0x41}), units({0xFFFD, 0x41})},
        DecodeCase{"three-byte form cut at the end", bytes({0x41, 0xE2, 0x82}), units({0x41, 0xFFFD})},
        DecodeCase{"two leads", bytes({0xC3, 0xC3, 0xA9}), units({0xFFFD, 0x00E9})},
        DecodeCase{"bytes that never start a sequence", bytes({0xF8, 0xFF, 0xBF}), units({0xFFFD, 0xFFFD, 0xFFFD})},
        DecodeCase{"four-byte lead cut short", bytes({0xF0, 0x9F, 0x98, 0x41}), units({0xFFFD, 0x41})},
        DecodeCase{"overlong nul", bytes({0xC0, 0x80}), units({0x0000})},
        DecodeCase{"overlong U+0001", bytes({0xE0, 0x80, 0x81}), units({0x0001})},
        DecodeCase{"euro then a letter", bytes({0xE2, 0x82, 0xAC, 0x41}), units({0x20AC, 0x41})}));

TEST(Utf8, EveryTextOfCodeUnitsSurvivesTheRoundTrip)
{
    // Every code unit, surrogates and U+0000 included, one by one and all
    // together.
    QString all;
    for (char32_t u = 0; u <= 0xFFFF; ++u)
        all += QChar(static_cast<char16_t>(u));
    EXPECT_EQ(decodedUtf8(utf8(all)), all);
    EXPECT_EQ(writtenUtf8(all), utf8(all));
    EXPECT_EQ(utf8(all).size(), xom::utf8Length(all));
}

} // namespace

namespace {

// The lowest and highest code point of each length of UTF-8, as another
// producer writes them (this editor writes no four-byte form), decoded
// alone, after a run of ASCII long enough for the eight-byte path, and in
// the middle of a file's string.
struct BoundaryCase {
    const char* what;
    QByteArray utf8;
    QString text;
};

class Boundaries : public testing::TestWithParam<BoundaryCase> { };

TEST_P(Boundaries, EachLengthsFirstAndLastCodePointDecode)
{
    const BoundaryCase& c = GetParam();
    const QByteArray ascii("abcdefghij");
    EXPECT_EQ(decodedUtf8(c.utf8), c.text) << c.what;
    EXPECT_EQ(decodedUtf8(ascii + c.utf8 + ascii), QString::fromLatin1(ascii) + c.text + QString::fromLatin1(ascii))
        << c.what;
    // What standard UTF-8 is agrees with Qt's own reading of it.
    EXPECT_EQ(QString::fromUtf8(c.utf8), c.text) << c.what;

    testsupport::RawFile raw = testsupport::simpleFile({{QStringLiteral("FE.Edge"), QString()}});
    raw.strings[0] = ascii + c.utf8;
    const xom::LoadResult loaded = xom::loadLanguageFile(raw.bytes());
    ASSERT_TRUE(std::holds_alternative<xom::LoadedFile>(loaded)) << c.what;
    EXPECT_EQ(std::get<xom::LoadedFile>(loaded).entries.text(0).toString(), QString::fromLatin1(ascii) + c.text)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(Utf8, Boundaries,
    testing::Values(BoundaryCase{"U+0001, the first one-byte form after NUL", bytes({0x01}), units({0x0001})},
        BoundaryCase{"U+007F, the last one-byte form", bytes({0x7F}), units({0x007F})},
        BoundaryCase{"U+0080, the first two-byte form", bytes({0xC2, 0x80}), units({0x0080})},
        BoundaryCase{"U+07FF, the last two-byte form", bytes({0xDF, 0xBF}), units({0x07FF})},
        BoundaryCase{"U+0800, the first three-byte form", bytes({0xE0, 0xA0, 0x80}), units({0x0800})},
        BoundaryCase{"U+D7FF, the last before the surrogates", bytes({0xED, 0x9F, 0xBF}), units({0xD7FF})},
        BoundaryCase{"U+E000, the first after the surrogates", bytes({0xEE, 0x80, 0x80}), units({0xE000})},
        BoundaryCase{"U+FFFF, the last three-byte form", bytes({0xEF, 0xBF, 0xBF}), units({0xFFFF})},
        BoundaryCase{"U+10000, the first four-byte form", bytes({0xF0, 0x90, 0x80, 0x80}), units({0xD800, 0xDC00})},
        BoundaryCase{"U+10FFFF, the last four-byte form", bytes({0xF4, 0x8F, 0xBF, 0xBF}), units({0xDBFF, 0xDFFF})}));

} // namespace
