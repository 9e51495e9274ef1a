#include "xom/TableSearch.h"

#include <QChar>

#include <algorithm>

namespace xom {

namespace {

std::vector<int> columnsFor(const LookIn lookIn)
{
    switch (lookIn) {
    case LookIn::Names:
        return {NameColumn};
    case LookIn::Both:
        return {NameColumn, TextColumn};
    case LookIn::Texts:
        break;
    }
    return {TextColumn};
}

// The units a search steps over to leave an empty match behind: a whole
// code point, so that a regular expression never starts inside a pair.
qsizetype codePointLengthAt(const QString& text, const qsizetype at)
{
    if (at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate())
        return 2;
    return 1;
}

// A cell's text for reading during one search: the pool's units lent without
// a copy. It must not outlive the search nor be stored: a text kept in a
// change is copied with toString().
QString borrowed(const QStringView text)
{
    return QString::fromRawData(reinterpret_cast<const QChar*>(text.utf16()), text.size());
}

QString counted(const int count, const char* singular, const char* plural)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1StringView(count == 1 ? singular : plural));
}

} // namespace

TableSearch::TableSearch(text::MatchOptions options, const LookIn lookIn)
    : m_matcher(std::move(options))
    , m_columns(columnsFor(lookIn))
{
}

int TableSearch::cellCount(const EntryTable& table) const noexcept
{
    return table.entryCount() * static_cast<int>(m_columns.size());
}

int TableSearch::cellIndexFrom(const EntryTable& table, const int gridRow, const int column) const noexcept
{
    if (gridRow < 1 || gridRow > table.entryCount())
        return 0;
    const int perRow = static_cast<int>(m_columns.size());
    int index = (gridRow - 1) * perRow;
    for (const int searched : m_columns) {
        if (searched >= column)
            return index;
        ++index;
    }
    return index % cellCount(table);
}

int TableSearch::gridRowOfCell(const int cell) const noexcept
{
    return cell / static_cast<int>(m_columns.size()) + 1;
}

int TableSearch::columnOfCell(const int cell) const noexcept
{
    return m_columns[static_cast<std::size_t>(cell) % m_columns.size()];
}

QString TableSearch::textOfCell(const EntryTable& table, const int cell) const
{
    QString scratch;
    const QStringView text = table.cellView(gridRowOfCell(cell) - 1, columnOfCell(cell), scratch);
    return scratch.isNull() ? borrowed(text) : scratch;
}

CellMatch TableSearch::matchInCell(const int cell, const text::TextMatch& match) const
{
    return CellMatch{gridRowOfCell(cell), columnOfCell(cell), match.start, match.length};
}

std::optional<CellMatch> TableSearch::findNext(const EntryTable& table, const CellPosition& from) const
{
    const int cells = cellCount(table);
    if (cells == 0 || m_matcher.findsNothing())
        return std::nullopt;
    const int first = cellIndexFrom(table, from.gridRow, from.column);
    const bool inFirst = gridRowOfCell(first) == from.gridRow && columnOfCell(first) == from.column;
    const qsizetype offset = inFirst ? from.offset : 0;
    // The first cell is searched from offset, then every other cell whole,
    // then the first cell's part before offset.
    for (int step = 0; step <= cells; ++step) {
        const int cell = (first + step) % cells;
        if (step == cells && offset == 0)
            break;
        const std::optional<text::TextMatch> found
            = m_matcher.matchFrom(textOfCell(table, cell), step == 0 ? offset : 0);
        if (found && (step < cells || found->start < offset))
            return matchInCell(cell, *found);
    }
    return std::nullopt;
}

std::optional<CellMatch> TableSearch::findAfter(const EntryTable& table, const CellMatch& current) const
{
    qsizetype offset = current.start + current.length;
    if (current.length == 0 && current.gridRow >= 1 && current.gridRow <= table.entryCount())
        offset += codePointLengthAt(table.cell(current.gridRow - 1, current.column), current.start);
    return findNext(table, CellPosition{current.gridRow, current.column, offset});
}

std::optional<CellMatch> TableSearch::findPrevious(const EntryTable& table, const CellPosition& before) const
{
    const int cells = cellCount(table);
    if (cells == 0 || m_matcher.findsNothing())
        return std::nullopt;
    const int first = cellIndexFrom(table, before.gridRow, before.column);
    const bool inFirst = gridRowOfCell(first) == before.gridRow && columnOfCell(first) == before.column;
    const qsizetype offset = inFirst ? before.offset : 0;
    // The first cell's part before offset, then every other cell backwards,
    // then the first cell's part from offset on.
    for (int step = 0; step <= cells; ++step) {
        const int cell = ((first - step) % cells + cells) % cells;
        const std::vector<text::TextMatch> matches = m_matcher.allMatches(textOfCell(table, cell));
        for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
            const bool wanted = step == 0 ? it->start < offset : step < cells || it->start >= offset;
            if (wanted)
                return matchInCell(cell, *it);
        }
    }
    return std::nullopt;
}

MatchTally TableSearch::countMatches(const EntryTable& table) const
{
    MatchTally tally;
    if (m_matcher.findsNothing())
        return tally;
    QString scratch;
    for (int row = 0; row < table.entryCount(); ++row) {
        int inEntry = 0;
        for (const int column : m_columns)
            inEntry += m_matcher.countIn(borrowed(table.cellView(row, column, scratch)));
        tally.matches += inEntry;
        tally.entries += inEntry > 0 ? 1 : 0;
    }
    return tally;
}

std::optional<SingleReplacement> TableSearch::replaceMatch(
    const EntryTable& table, const CellMatch& current, const QString& replacement) const
{
    const bool searched = std::find(m_columns.begin(), m_columns.end(), current.column) != m_columns.end();
    if (!searched || current.gridRow < 1 || current.gridRow > table.entryCount())
        return std::nullopt;
    const QString text = table.cell(current.gridRow - 1, current.column);
    const std::optional<text::TextMatch> found = m_matcher.matchAt(text, current.start);
    if (!found || found->length != current.length)
        return std::nullopt;
    const QString piece = m_matcher.replacementFor(*found, replacement);
    QString replaced = text;
    replaced.replace(current.start, current.length, piece);
    qsizetype resume = current.start + piece.size();
    // An empty match that stays where it was would be found again.
    if (current.length == 0 && resume < replaced.size())
        resume += codePointLengthAt(replaced, resume);
    else if (current.length == 0)
        ++resume;
    return SingleReplacement{CellChange{current.gridRow, current.column, text, replaced},
        CellPosition{current.gridRow, current.column, resume}};
}

template <typename OnChange>
MatchTally TableSearch::replaceEach(const EntryTable& table, const QString& replacement, const OnChange& onChange) const
{
    MatchTally tally;
    if (m_matcher.findsNothing())
        return tally;
    QString scratch;
    for (int row = 0; row < table.entryCount(); ++row) {
        int inEntry = 0;
        for (const int column : m_columns) {
            const QString text = borrowed(table.cellView(row, column, scratch));
            int count = 0;
            QString replaced = m_matcher.replaceAllIn(text, replacement, count);
            if (count == 0)
                continue;
            inEntry += count;
            if (replaced != text)
                onChange(row, column, text, std::move(replaced));
        }
        tally.matches += inEntry;
        tally.entries += inEntry > 0 ? 1 : 0;
    }
    return tally;
}

ReplaceAllResult TableSearch::replaceAll(const EntryTable& table, const QString& replacement) const
{
    ReplaceAllResult result;
    result.tally
        = replaceEach(table, replacement, [&](const int row, const int column, const QString& before, QString&& after) {
              result.changes.push_back(CellChange{row + 1, column, QString(before.constData(), before.size()), after});
          });
    return result;
}

MatchTally TableSearch::replaceAllIn(EntryTable& table, const QString& replacement) const
{
    // The cell's view stays valid until its text is set, which is the last
    // thing done with it.
    return replaceEach(table, replacement,
        [&](const int row, const int column, const QString&, QString&& after) { table.setCell(row, column, after); });
}

QString describeMatches(const MatchTally& tally)
{
    return QStringLiteral("%1 in %2")
        .arg(counted(tally.matches, "match", "matches"), counted(tally.entries, "entry", "entries"));
}

QString describeReplacements(const MatchTally& tally)
{
    return QStringLiteral("%1 in %2")
        .arg(counted(tally.matches, "replacement", "replacements"), counted(tally.entries, "entry", "entries"));
}

} // namespace xom
