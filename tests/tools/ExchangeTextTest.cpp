#include "exchange/ExchangeText.h"

#include "text/LineBreaks.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The definition the field decoder must keep: the editor's decoding of the
// bytes, when exchangeUtf8 writes exactly those bytes back.
std::optional<QString> byDefinition(const QByteArray& bytes)
{
    QString text = testsupport::decodedUtf8(bytes);
    if (exchange::exchangeUtf8(text) != bytes)
        return std::nullopt;
    return text;
}

// What import makes of a field, its line breaks as written; nothing when it
// refuses the bytes.
std::optional<QString> textOfField(const QByteArray& bytes)
{
    QString text;
    if (!exchange::appendExchangeText(bytes, text, exchange::DecodedBreaks::AsWritten))
        return std::nullopt;
    return text;
}

TEST(ExchangeText, DecoderAgreesWithItsDefinitionOnMixedBytes)
{
    // Pieces that together make valid and broken UTF-8 of every kind.
    const std::vector<QByteArray> pieces{"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8F\x86", "\xED\xA0\x80",
        "\xED\xB0\x80", "\xEF\xBF\xBD", "\xEF\xBB\xBF", "\xC3", "\x80", "\xFF", "\xC0\xAF", "\xE0\x80\x80",
        "\xF4\x90\x80\x80", "\r\n", "\r", "\n", "\xE2\x80\xA8", "\""};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 6);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        for (int i = length(random); i > 0; --i)
            bytes += pieces[pick(random)];

        const std::optional<QString> expected = byDefinition(bytes);
        EXPECT_EQ(textOfField(bytes), expected) << bytes.toHex().toStdString();
        // Decoded in the editor's line breaks, as import takes a text: only
        // CR, LF and CR LF are breaks (U+2028 is kept), and a refused text
        // leaves what was there.
        QString crLf = QStringLiteral("kept");
        EXPECT_EQ(exchange::appendExchangeText(bytes, crLf, exchange::DecodedBreaks::CrLf), expected.has_value());
        const QString expectedCrLf
            = expected ? text::withCrLfLineBreaks(*expected, text::LineBreakSet::CrLf) : QString();
        EXPECT_EQ(crLf, QStringLiteral("kept") + expectedCrLf) << bytes.toHex().toStdString();
    }
}

} // namespace
