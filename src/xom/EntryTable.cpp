#include "EntryTable.h"

#include "xom/EntryNumber.h"

#include "text/Decimal.h"

#include <algorithm>

namespace xom {

const QString& Entry::cell(const int column) const
{
    switch (column) {
    case MarkColumn:
        return mark;
    case NumberColumn:
        return number;
    case NameColumn:
        return name;
    default:
        return text;
    }
}

QString& Entry::cell(const int column)
{
    return const_cast<QString&>(static_cast<const Entry&>(*this).cell(column));
}

TextId EntryRow::id(const int column) const noexcept
{
    switch (column) {
    case MarkColumn:
        return mark;
    case NameColumn:
        return name;
    case TextColumn:
        return text;
    default:
        return numberIsText() ? numberText() : TextPool::EmptyText;
    }
}

const std::array<QString, ColumnCount>& EntryTable::headerTexts()
{
    static const std::array<QString, ColumnCount> texts{
        QStringLiteral("x"), QString(QChar(0x2116)), QStringLiteral("Name"), QStringLiteral("Text")};
    return texts;
}

QString EntryTable::number(const int row) const
{
    const EntryRow& record = at(row);
    if (record.numberIsText())
        return texts.text(record.numberText());
    return text::FormatDecimal(static_cast<qint32>(record.number));
}

QString EntryTable::cell(const int row, const int column) const
{
    if (column == NumberColumn)
        return number(row);
    return texts.text(at(row).id(column));
}

QStringView EntryTable::cellView(const int row, const int column, QString& scratch) const
{
    if (column == NumberColumn) {
        scratch = number(row);
        return scratch;
    }
    return texts.view(at(row).id(column));
}

QString EntryTable::gridCell(const int gridRow, const int column) const
{
    if (gridRow == 0)
        return headerTexts()[static_cast<std::size_t>(column)];
    return cell(gridRow - 1, column);
}

std::uint32_t EntryTable::numberField(const QStringView number)
{
    const qint64 value = plainDecimalValue(number);
    if (value >= 0)
        return static_cast<std::uint32_t>(value);
    return EntryRow::NumberIsText | texts.intern(number);
}

void EntryTable::setCell(const int row, const int column, const QStringView text)
{
    const std::uint32_t field = column == NumberColumn ? numberField(text) : texts.intern(text);
    EntryRow& record = rows[static_cast<std::size_t>(row)];
    switch (column) {
    case MarkColumn:
        record.mark = field;
        break;
    case NumberColumn:
        record.number = field;
        break;
    case NameColumn:
        record.name = field;
        break;
    default:
        record.text = field;
        break;
    }
}

void EntryTable::append(const Entry& entry)
{
    EntryRow record;
    record.mark = texts.intern(entry.mark);
    record.number = numberField(entry.number);
    record.name = texts.intern(entry.name);
    record.text = texts.intern(entry.text);
    rows.push_back(record);
}

Entry EntryTable::entry(const int row) const
{
    return Entry{mark(row).toString(), number(row), name(row).toString(), text(row).toString()};
}

EntryTable EntryTable::fromEntries(const std::vector<Entry>& entries)
{
    EntryTable table;
    table.rows.reserve(entries.size());
    for (const Entry& entry : entries)
        table.append(entry);
    return table;
}

std::vector<Entry> EntryTable::entries() const
{
    std::vector<Entry> all;
    all.reserve(rows.size());
    for (int row = 0; row < entryCount(); ++row)
        all.push_back(entry(row));
    return all;
}

qsizetype EntryTable::longestNumberLength() const
{
    qsizetype longest = 0;
    for (const EntryRow& record : rows) {
        if (record.numberIsText()) {
            longest = std::max(longest, texts.view(record.numberText()).size());
        } else {
            qsizetype digits = 1;
            for (std::uint32_t v = record.number; v >= 10; v /= 10)
                ++digits;
            longest = std::max(longest, digits);
        }
    }
    return longest;
}

bool operator==(const EntryTable& a, const EntryTable& b)
{
    if (a.rows.size() != b.rows.size())
        return false;
    for (int row = 0; row < a.entryCount(); ++row) {
        const EntryRow& x = a.rows[static_cast<std::size_t>(row)];
        const EntryRow& y = b.rows[static_cast<std::size_t>(row)];
        if (x.numberIsText() != y.numberIsText() || (!x.numberIsText() && x.number != y.number))
            return false;
        for (const int column : {MarkColumn, NumberColumn, NameColumn, TextColumn}) {
            if ((column != NumberColumn || x.numberIsText())
                && a.texts.view(x.id(column)) != b.texts.view(y.id(column)))
                return false;
        }
    }
    return true;
}

} // namespace xom
