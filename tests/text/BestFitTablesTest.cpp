// Checks images and decodings against Windows' published best-fit files,
// read here by a parser of the test's own, independent of the build's table
// generator.
#include "text/AnsiImage.h"

#include "support/PinnedTextEnvironment.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <map>
#include <vector>

namespace {

using testsupport::PinnedTextEnvironment;

constexpr int CodePages[] = {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

// The two directions of one file: a character's bytes (one byte, or lead and
// trail byte) to its unit, and a unit to the bytes Windows writes for it.
struct WindowsTables {
    std::map<QByteArray, char16_t> toUnicode;
    std::map<char16_t, QByteArray> fromUnicode;
};

QByteArray bytesOf(const unsigned value, const bool pair)
{
    QByteArray bytes;
    if (pair)
        bytes += static_cast<char>(value >> 8);
    bytes += static_cast<char>(value & 0xFF);
    return bytes;
}

WindowsTables readWindowsTables(const int codePage)
{
    QFile file(QStringLiteral(LUDRA_BEST_FIT_DIR "/bestfit%1.txt").arg(codePage));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QList<QList<QByteArray>> records;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype comment = line.indexOf(';');
        const QByteArray fields = (comment >= 0 ? line.first(comment) : line).simplified();
        if (!fields.isEmpty())
            records.push_back(fields.split(' '));
    }
    WindowsTables tables;
    const auto number = [](const QByteArray& field) { return field.toUInt(nullptr, 0); };
    int lead = 0;
    bool doubleByte = false;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QByteArray& tag = records[i][0];
        if (tag == "ENDCODEPAGE")
            break;
        const unsigned count = records[i].size() > 1 ? number(records[i][1]) : 0;
        if (tag == "DBCSRANGE") {
            // A range's first lead byte, then one DBCSTABLE per lead byte.
            doubleByte = true;
            lead = static_cast<int>(number(records[i + 1][0]));
            ++i;
        } else if (tag == "DBCSTABLE" || tag == "MBTABLE" || tag == "WCTABLE") {
            for (unsigned k = 0; k < count; ++k) {
                const QList<QByteArray>& record = records[++i];
                const unsigned from = number(record[0]);
                const unsigned to = number(record[1]);
                if (tag == "WCTABLE")
                    tables.fromUnicode[static_cast<char16_t>(from)] = bytesOf(to, doubleByte && to > 0xFF);
                else
                    tables.toUnicode[tag == "MBTABLE" ? bytesOf(from, false) : bytesOf(lead << 8 | from, true)]
                        = static_cast<char16_t>(to);
            }
            if (tag == "DBCSTABLE")
                ++lead;
            // A further lead byte range follows the last table of the one
            // before it.
            if (tag == "DBCSTABLE" && i + 1 < records.size() && records[i + 1].size() == 2
                && records[i + 1][0].startsWith("0x"))
                lead = static_cast<int>(number(records[++i][0]));
        }
    }
    return tables;
}

QString hexOf(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

// Every unit but the surrogates, imaged as one text; only when that image
// differs is each unit imaged alone to name the ones that are wrong.
TEST(WindowsTables, ImageEveryUnitAsWindowsWritesIt)
{
    for (const int codePage : CodePages) {
        const WindowsTables tables = readWindowsTables(codePage);
        ASSERT_GT(tables.fromUnicode.size(), 256u) << codePage;
        const PinnedTextEnvironment pinned(QStringLiteral("en_US"), codePage);
        QString units;
        QByteArray expected;
        std::vector<QByteArray> expectedPerUnit;
        for (unsigned value = 0; value < 0x10000; ++value) {
            const char16_t unit = static_cast<char16_t>(value);
            if (QChar::isSurrogate(unit))
                continue;
            const auto found = tables.fromUnicode.find(unit);
            units += QChar(unit);
            expectedPerUnit.push_back(found != tables.fromUnicode.end() ? found->second : QByteArray("?"));
            expected += expectedPerUnit.back();
        }
        if (text::ToAnsiImage(units) == expected)
            continue;
        QStringList wrong;
        for (qsizetype i = 0; i < units.size() && wrong.size() < 10; ++i) {
            const QByteArray image = text::ToAnsiImage(QStringView(units).sliced(i, 1));
            if (image != expectedPerUnit[static_cast<std::size_t>(i)])
                wrong << QStringLiteral("U+%1: %2, not %3")
                             .arg(units[i].unicode(), 4, 16, QChar(u'0'))
                             .arg(hexOf(image), hexOf(expectedPerUnit[static_cast<std::size_t>(i)]));
        }
        ADD_FAILURE() << codePage << ": " << wrong.join(u"; ").toStdString();
    }
}

// Every character of the byte and byte-pair tables, decoded as one image (no
// single byte is a lead byte, so the characters cannot run together), then
// alone if that fails.
TEST(WindowsTables, DecodeEveryCharacterOfTheCodePageBack)
{
    for (const int codePage : CodePages) {
        const WindowsTables tables = readWindowsTables(codePage);
        ASSERT_GE(tables.toUnicode.size(), 128u) << codePage;
        const PinnedTextEnvironment pinned(QStringLiteral("en_US"), codePage);
        QByteArray image;
        QString expected;
        for (const auto& [bytes, unit] : tables.toUnicode) {
            image += bytes;
            expected += QChar(unit);
        }
        if (text::fromAnsiImage(image) == expected)
            continue;
        QStringList wrong;
        for (const auto& [bytes, unit] : tables.toUnicode) {
            const QString decoded = text::fromAnsiImage(bytes);
            if (decoded != QString(QChar(unit)) && wrong.size() < 10)
                wrong << QStringLiteral("%1: %2").arg(hexOf(bytes), hexOf(decoded.toUtf8()));
        }
        ADD_FAILURE() << codePage << ": " << wrong.join(u"; ").toStdString();
    }
}

} // namespace
