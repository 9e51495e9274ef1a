#include "xom/Varint.h"

#include "support/FileBuilder.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

using testsupport::bytes;

// The bytes WriteVarint puts in a buffer of exactly varintLength bytes, or
// a note of how far it strayed from that end.
QByteArray writtenVarint(const std::uint32_t value)
{
    QByteArray written(xom::varintLength(value), '\0');
    const char* const end = xom::WriteVarint(written.data(), value);
    if (end != written.data() + written.size())
        return QByteArrayLiteral("ended at ") + QByteArray::number(end - written.data());
    return written;
}

struct WrittenCase {
    std::uint32_t value;
    QByteArray encoded;
};

class VarintWriting : public testing::TestWithParam<WrittenCase> { };

TEST_P(VarintWriting, WritesAsManyBytesAsTheValueNeeds)
{
    const WrittenCase& c = GetParam();
    EXPECT_EQ(writtenVarint(c.value), c.encoded);
    EXPECT_EQ(xom::varintLength(c.value), c.encoded.size());
}

INSTANTIATE_TEST_SUITE_P(Varint, VarintWriting,
    testing::Values(WrittenCase{0, bytes({0x00})}, WrittenCase{127, bytes({0x7F})},
        WrittenCase{128, bytes({0x80, 0x01})}, WrittenCase{300, bytes({0xAC, 0x02})},
        WrittenCase{16384, bytes({0x80, 0x80, 0x01})}, WrittenCase{268435455, bytes({0xFF, 0xFF, 0xFF, 0x7F})},
        WrittenCase{268435456, bytes({0x80, 0x80, 0x80, 0x80, 0x01})},
        WrittenCase{0xFFFFFFFFu, bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x0F})}));

struct ReadCase {
    const char* what;
    QByteArray encoded;
    std::optional<qint32> value;
    qsizetype consumed;
};

class VarintReading : public testing::TestWithParam<ReadCase> { };

TEST_P(VarintReading, ReadsAtMostFourBytes)
{
    const ReadCase& c = GetParam();
    xom::ByteCursor cursor(c.encoded);
    EXPECT_EQ(xom::ReadVarint(cursor), c.value) << c.what;
    EXPECT_EQ(cursor.position(), c.consumed) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Varint, VarintReading,
    testing::Values(ReadCase{"one byte", bytes({0x05, 0x99}), 5, 1}, ReadCase{"two bytes", bytes({0xAC, 0x02}), 300, 2},
        ReadCase{"largest value", bytes({0xFF, 0xFF, 0xFF, 0x7F}), 268435455, 4},
        ReadCase{"the fourth byte ends it", bytes({0x80, 0x80, 0x80, 0x80, 0x01}), 0, 4},
        ReadCase{"fourth byte's top bit ignored", bytes({0x81, 0x80, 0x80, 0xFF}), 1 + (0x7F << 21), 4},
        ReadCase{"runs past the end", bytes({0x80, 0x80}), std::nullopt, 0},
        ReadCase{"nothing to read", QByteArray(), std::nullopt, 0}));

TEST(Varint, ValuesBelow2To28ReadBackAsWritten)
{
    for (std::uint32_t value = 1; value < (1u << 28); value = value * 3 + 1) {
        const QByteArray out = writtenVarint(value);
        xom::ByteCursor cursor(out);
        EXPECT_EQ(xom::ReadVarint(cursor), static_cast<qint32>(value));
        EXPECT_TRUE(cursor.atEnd());
    }
}

} // namespace
