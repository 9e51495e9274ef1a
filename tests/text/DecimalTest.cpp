#include "text/Decimal.h"
#include "text/EditorError.h"

#include "support/PinnedTextEnvironment.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using testsupport::PinnedTextEnvironment;

constexpr qint32 Min = std::numeric_limits<qint32>::min();
constexpr qint32 Max = std::numeric_limits<qint32>::max();

TEST(ParseDecimal, ReadsDecimalAndHexadecimalNumbers)
{
    const struct {
        const char16_t* text;
        qint32 value;
    } rows[] = {
        {u"12", 12}, {u" 12", 12}, {u"-5", -5}, {u"+7", 7}, {u"0", 0}, {u"-0", 0}, {u"007", 7}, {u"-2147483648", Min},
        {u"2147483647", Max}, {u"$1F", 31}, {u"0x1f", 31}, {u"x1F", 31}, {u"X1F", 31}, {u"$FFFFFFFF", -1},
        {u"$80000000", Min}, {u"$000000001", 1}, {u" $10", 16},
        {u"１２", 12}, // full-width digits image as "12" in 1252
    };
    const PinnedTextEnvironment pinned(QStringLiteral("en_US"), 1252);
    for (const auto& row : rows) {
        const QString text = QString::fromUtf16(row.text);
        EXPECT_EQ(text::ParseDecimal(text), row.value) << text.toStdString();
    }
}

TEST(ParseDecimal, FailsWithTheImageInTheMessage)
{
    const struct {
        const char16_t* text;
        const char16_t* message;
    } rows[] = {
        {u"12 ", u"'12 ' is not a valid integer value"},
        {u"", u"'' is not a valid integer value"},
        {u"2147483648", u"'2147483648' is not a valid integer value"},
        {u"-2147483649", u"'-2147483649' is not a valid integer value"},
        {u"-", u"'-' is not a valid integer value"},
        {u"$", u"'$' is not a valid integer value"},
        {u"0x", u"'0x' is not a valid integer value"},
        {u"-$1F", u"'-$1F' is not a valid integer value"},
        {u"$1G", u"'$1G' is not a valid integer value"},
        {u"$100000000", u"'$100000000' is not a valid integer value"},
        {u"1.5", u"'1.5' is not a valid integer value"},
        {u"\t12", u"'\t12' is not a valid integer value"},
        {u"- 5", u"'- 5' is not a valid integer value"},
        {u"Жук", u"'"
                 "???"
                 "' is not a valid integer value"}, // split: "??'" would read as a trigraph
        {u"1Ā", u"'1A' is not a valid integer value"},
    };
    const PinnedTextEnvironment pinned(QStringLiteral("en_US"), 1252);
    for (const auto& row : rows) {
        const QString text = QString::fromUtf16(row.text);
        try {
            const qint32 value = text::ParseDecimal(text);
            ADD_FAILURE() << text.toStdString() << " gave " << value;
        } catch (const text::ConvertError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf16(row.message)) << text.toStdString();
        }
    }
}

TEST(FormatDecimal, WritesPlainDigits)
{
    const struct {
        qint32 value;
        const char* text;
    } rows[] = {
        {0, "0"},
        {7, "7"},
        {12, "12"},
        {-5, "-5"},
        {1000000, "1000000"},
        {Max, "2147483647"},
        {Min, "-2147483648"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text::FormatDecimal(row.value), QString::fromLatin1(row.text)) << row.value;
}

} // namespace
