#include "cli/CsvImport.h"

#include "xom/EntryOperations.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace cli {

namespace {

const QStringList& headerFields()
{
    static const QStringList fields{QStringLiteral("number"), QStringLiteral("name"), QStringLiteral("text")};
    return fields;
}

// The first row of each number cell, so that a large CSV costs no scan of
// the rows per record.
class RowsByNumber {
public:
    explicit RowsByNumber(const xom::EntryTable& entries)
    {
        m_rows.reserve(entries.entryCount());
        for (int row = 0; row < entries.entryCount(); ++row)
            add(entries.rows[static_cast<std::size_t>(row)].number, row);
    }

    // Keeps the first row of a number, as a scan from the top would find it.
    void add(const QString& number, const int row)
    {
        if (!m_rows.contains(number))
            m_rows.insert(number, row);
    }

    [[nodiscard]] int find(const QString& number) const { return m_rows.value(number, -1); }

private:
    QHash<QString, int> m_rows;
};

} // namespace

void applyCsvEdits(CsvReader& csv, xom::EntryTable& entries, xom::LanguageModel& model)
{
    const QString missingHeader = QStringLiteral("missing header line \"number,name,text\"");
    const std::optional<CsvRecord> header = csv.next();
    if (!header)
        throw CsvError(1, missingHeader);
    // export --reference adds a fourth column of reference texts, which
    // belong to the reference file and are ignored here.
    const bool withReference = header->fields.size() == 4 && header->fields[3] == u"reference";
    const auto fieldsEnd = withReference ? header->fields.begin() + 3 : header->fields.end();
    if (!std::equal(header->fields.begin(), fieldsEnd, headerFields().begin(), headerFields().end()))
        throw CsvError(header->line, missingHeader);
    const std::size_t fieldCount = header->fields.size();
    const QString fieldNames
        = withReference ? QStringLiteral("number,name,text,reference") : QStringLiteral("number,name,text");

    RowsByNumber rows(entries);
    while (const std::optional<CsvRecord> record = csv.next()) {
        if (record->fields.size() != fieldCount) {
            throw CsvError(record->line, QStringLiteral("expected %1 fields (%2), found %3")
                                             .arg(fieldCount)
                                             .arg(fieldNames)
                                             .arg(record->fields.size()));
        }
        const QString& number = record->fields[0];
        const QString& name = record->fields[1];
        const QString& text = record->fields[2];
        if (number.isEmpty()) {
            const int row = entries.entryCount();
            xom::addEntry(entries, model, name, text);
            rows.add(entries.rows.back().number, row);
            continue;
        }
        const int row = rows.find(number);
        if (row < 0)
            throw CsvError(record->line, QStringLiteral("no entry numbered \"%1\"").arg(number));
        xom::Entry& entry = entries.rows[static_cast<std::size_t>(row)];
        entry.name = name;
        entry.text = text;
    }
}

} // namespace cli
