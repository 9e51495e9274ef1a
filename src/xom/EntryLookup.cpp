#include "xom/EntryLookup.h"

#include "xom/EntryNumber.h"

#include "text/CaseFolding.h"

namespace xom {

namespace {

// The query without the spaces around it and a leading "#".
[[nodiscard]] QStringView numberPart(QStringView query)
{
    query = query.trimmed();
    if (query.startsWith(u'#'))
        query = query.sliced(1).trimmed();
    return query;
}

[[nodiscard]] std::optional<int> rowNumbered(const EntryTable& table, const qint64 value)
{
    for (int row = 0; row < table.entryCount(); ++row) {
        const EntryRow& record = table.rows[static_cast<std::size_t>(row)];
        if (!record.numberIsText() && record.number == static_cast<std::uint32_t>(value))
            return row + 1;
    }
    return std::nullopt;
}

[[nodiscard]] std::optional<int> rowNamedFolded(const EntryTable& table, QStringView name)
{
    const text::FoldingRules rules = text::currentFoldingRules();
    const std::u16string wanted = text::foldCase(name, rules);
    std::u16string folded;
    for (int row = 0; row < table.entryCount(); ++row) {
        const QStringView candidate = table.name(row);
        if (candidate.size() != name.size())
            continue;
        text::foldCaseInto(candidate, rules, folded);
        if (folded == wanted)
            return row + 1;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> findEntryRow(const EntryTable& table, const QStringView query)
{
    const qint64 number = plainDecimalValue(numberPart(query));
    if (number >= 0) {
        if (const std::optional<int> row = rowNumbered(table, number))
            return row;
    }
    const QStringView name = query.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    if (const std::optional<int> row = otherRowNamed(table, name))
        return row;
    return rowNamedFolded(table, name);
}

std::optional<int> otherRowNamed(const EntryTable& table, const QStringView name, const int exceptGridRow)
{
    // Equal texts share one id once the pool is indexed, so the rows are
    // compared by id and the texts are never read.
    const std::optional<TextId> id = table.texts.find(name);
    if (!id)
        return std::nullopt;
    const TextId wanted = table.texts.canonical(*id);
    for (int row = 0; row < table.entryCount(); ++row) {
        if (row + 1 != exceptGridRow && table.texts.canonical(table.rows[static_cast<std::size_t>(row)].name) == wanted)
            return row + 1;
    }
    return std::nullopt;
}

} // namespace xom
