#include "LiteralProcedures.h"

#include "xom/FileLayout.h"

#include "text/AnsiImage.h"
#include "text/Decimal.h"
#include "text/EditorError.h"
#include "text/TextCompare.h"

#include "support/FileBuilder.h"
#include "support/TextComparisons.h"
#include "support/UnicodeStringList.h"

#include <QtEndian>

#include <cmath>

namespace literal {

namespace {

int nearest(const double x)
{
    return static_cast<int>(std::nearbyint(x));
}

void copyRow(Grid& grid, const std::size_t from, const std::size_t to)
{
    grid[to] = grid[from];
}

int findExact(const testsupport::UnicodeStringList& list, const QString& s)
{
    for (int i = 0; i < list.count(); ++i) {
        if (text::TextEquals(list.get(i), s))
            return i;
    }
    return -1;
}

void addStringIfAbsent(testsupport::UnicodeStringList& list, const QString& s)
{
    if (findExact(list, s) == -1)
        list.append(s);
}

void putU32(QByteArray& image, const qsizetype at, const std::uint32_t value)
{
    qToLittleEndian(value, image.data() + at);
}

} // namespace

Grid gridOf(const xom::EntryTable& table)
{
    Grid grid;
    const auto& header = xom::EntryTable::headerTexts();
    grid.push_back({header[0], header[1], header[2], header[3]});
    for (const xom::Entry& e : table.entries())
        grid.push_back({e.mark, e.number, e.name, e.text});
    return grid;
}

xom::EntryTable tableOf(const Grid& grid)
{
    xom::EntryTable table;
    for (std::size_t r = 1; r < grid.size(); ++r)
        table.append(xom::Entry{grid[r][0], grid[r][1], grid[r][2], grid[r][3]});
    return table;
}

void moveDown(Grid& grid)
{
    const std::size_t rowCount = grid.size();
    std::size_t i = 1;
    while (i < rowCount) {
        if (text::TextEquals(grid[i][0], QStringLiteral("x"))) {
            // MoveRowToEnd of row i through the scratch row R.
            grid.resize(rowCount + 1);
            copyRow(grid, i, rowCount);
            for (std::size_t k = i; k + 2 <= rowCount; ++k)
                copyRow(grid, k + 1, k);
            copyRow(grid, rowCount, rowCount - 1);
            grid.resize(rowCount);
            grid[rowCount - 1][0].clear();
        } else {
            ++i;
        }
    }
}

void sortByName(Grid& grid, std::vector<int>& positions)
{
    const std::size_t rowCount = grid.size();
    grid.resize(rowCount + 2);
    copyRow(grid, 0, rowCount + 1);
    if (rowCount >= 3) {
        for (std::size_t k = 2; k < rowCount; ++k) {
            copyRow(grid, k, rowCount);
            copyRow(grid, rowCount, 0);
            std::size_t j = k;
            while (testsupport::CompareAnsiText(text::ToAnsiImage(grid[rowCount][2]), text::ToAnsiImage(grid[j - 1][2]))
                   < 0) {
                copyRow(grid, j - 1, j);
                --j;
            }
            copyRow(grid, rowCount, j);
            positions.push_back(nearest(static_cast<double>(k) / static_cast<double>(rowCount + 2) * 100));
        }
    }
    copyRow(grid, rowCount + 1, 0);
    grid.resize(rowCount);
}

QByteArray save(const Grid& grid, xom::LanguageModel& model, std::vector<int>& positions)
{
    namespace L = xom::layout;
    const auto R = static_cast<int>(grid.size());
    QByteArray image;
    positions.push_back(0);
    const auto appendZeros = [&](const qsizetype n) { image.append(n, '\0'); };

    // Header and type table.
    image += "MOIK";
    image += QByteArray("\0\0\0\x02", 4);
    appendZeros(16);
    image += QByteArray(12, '\0');
    putU32(image, L::TypeCountOffset, static_cast<std::uint32_t>(model.TypeTable.size()));
    putU32(image, L::ContainerCountOffset, static_cast<std::uint32_t>(R));
    putU32(image, L::ContainerCount2Offset, static_cast<std::uint32_t>(R));
    appendZeros(28);
    for (const xom::XTypeCont& type : model.TypeTable) {
        const qsizetype at = image.size();
        image += "TYPE";
        appendZeros(60);
        putU32(image, at + 8, static_cast<std::uint32_t>(type.instanceCount));
        std::memcpy(image.data() + at + 16, type.guid.data(), 16);
        std::memcpy(image.data() + at + 32, type.name.constData(), static_cast<std::size_t>(type.name.size()));
    }
    image += "GUID";
    appendZeros(12);
    image += "SCHM";
    image += QByteArray("\x01\0\0\0", 4);
    appendZeros(8);
    const qsizetype strs = image.size();
    image += "STRS";
    appendZeros(8);

    // Rebuild the string list. The model keeps only a summary of it: the
    // list starts from that as far as the save reads it (string 1), and the
    // model takes the rebuilt list's summary before the later steps, which
    // may throw and leave the list rebuilt.
    testsupport::UnicodeStringList list;
    list.setMatchCase(true);
    list.append(QString());
    if (model.StringList.count >= 2)
        list.append(model.StringList.second);
    const QString kept = list.get(1);
    list.clear();
    list.append(QString());
    list.append(kept);
    for (int g = 1; g < R; ++g) {
        addStringIfAbsent(list, grid[static_cast<std::size_t>(g)][3]);
        addStringIfAbsent(list, grid[static_cast<std::size_t>(g)][2]);
        positions.push_back(nearest(static_cast<double>(g) / R * 20));
    }
    const int C = list.count();
    model.StringList = xom::StringListSummary();
    for (int i = 1; i < C; ++i)
        model.StringList.append(list.get(i));
    const int n = C - 1;

    // The string table.
    testsupport::UnicodeStringList sorted;
    sorted.copyFrom(list);
    sorted.removeAt(0);
    testsupport::UnicodeStringList slotCopy;
    slotCopy.copyFrom(sorted);
    sorted.sortWith([](const testsupport::UnicodeStringList& l, const int i, const int j) {
        return text::CompareAnsiOrdinal(text::ToAnsiImage(l.get(i)), text::ToAnsiImage(l.get(j)));
    });
    slotCopy.setMatchCase(true);
    const qsizetype offsets = image.size();
    appendZeros(4 * qsizetype{C});
    const qsizetype data = image.size();
    appendZeros(1);
    qsizetype running = 1;
    for (int i = 0; i < n; ++i) {
        const QString& s = sorted.get(i);
        const int slot = 1 + findExact(slotCopy, s);
        putU32(image, offsets + 4 * qsizetype{slot}, static_cast<std::uint32_t>(running));
        image += testsupport::utf8(s);
        image += '\0';
        running += testsupport::utf8(s).size() + 1;
        positions.push_back(nearest(static_cast<double>(i) / n * 20) + 20);
    }
    putU32(image, strs + 4, static_cast<std::uint32_t>(C));
    putU32(image, strs + 8, static_cast<std::uint32_t>(running));
    Q_ASSERT(image.size() == data + running);

    // String resource containers in number order.
    for (int k = 1; k < R; ++k) {
        int row = -1;
        for (int r = 0; r < R && row < 0; ++r) {
            if (text::TextEquals(grid[static_cast<std::size_t>(r)][1], text::FormatDecimal(k)))
                row = r;
        }
        if (row < 0)
            throw text::ListIndexError(-1);
        image += "CTNR";
        appendZeros(3);
        image += testsupport::varintBytes(
            static_cast<std::uint32_t>(findExact(list, grid[static_cast<std::size_t>(row)][3])));
        image += testsupport::varintBytes(
            static_cast<std::uint32_t>(findExact(list, grid[static_cast<std::size_t>(row)][2])));
        appendZeros(4);
        positions.push_back(nearest(static_cast<double>(k) / R * 50) + 40);
    }

    // The data bank.
    image += "CTNR";
    appendZeros(6);
    image += testsupport::varintBytes(static_cast<std::uint32_t>(R - 1));
    for (int r = 1; r < R; ++r) {
        image += testsupport::varintBytes(
            static_cast<std::uint32_t>(text::ParseDecimal(grid[static_cast<std::size_t>(r)][1])));
        positions.push_back(nearest(static_cast<double>(r) / R * 10) + 90);
    }
    appendZeros(5);
    return image;
}

} // namespace literal
