#include "cli/CsvImport.h"

#include "cli/CsvText.h"
#include "cli/ImportError.h"

#include <QByteArrayView>
#include <QString>

#include <array>

namespace cli {

namespace {

// The fields of the record without its trailing empty ones beyond the
// first `keep`.
[[nodiscard]] std::size_t fieldCountWithoutEmptyTail(const std::vector<QByteArrayView>& fields, std::size_t keep)
{
    std::size_t count = fields.size();
    while (count > keep && fields[count - 1].isEmpty())
        --count;
    return count;
}

[[nodiscard]] QString textOfField(const QByteArrayView field, const int line)
{
    std::optional<QString> text = textOfCsvUtf8(field);
    if (!text)
        throw ImportError(line, QStringLiteral("field is not UTF-8"));
    return *std::move(text);
}

// The number of columns the header names: 3, or 4 with the reference.
std::size_t readHeader(CsvReader& csv)
{
    const QString missingHeader = QStringLiteral("missing header line \"number,name,text\"");
    if (!csv.next())
        throw ImportError(1, missingHeader);
    static constexpr std::array<QByteArrayView, 4> names{"number", "name", "text", "reference"};
    const std::vector<QByteArrayView>& fields = csv.fields();
    const std::size_t count = fieldCountWithoutEmptyTail(fields, 0);
    if (count < 3 || count > names.size())
        throw ImportError(csv.line(), missingHeader);
    for (std::size_t i = 0; i < count; ++i) {
        if (fields[i] != names[i])
            throw ImportError(csv.line(), missingHeader);
    }
    return count;
}

} // namespace

void applyCsvEdits(CsvReader& csv, EntryImport& import)
{
    const std::size_t columns = readHeader(csv);
    ImportRecord record;
    while (csv.next()) {
        const std::vector<QByteArrayView>& fields = csv.fields();
        const std::size_t count = fieldCountWithoutEmptyTail(fields, 3);
        if (count < 3 || count > columns) {
            throw ImportError(csv.line(), QStringLiteral("expected %1 fields (number,name,text%2), found %3")
                                              .arg(columns)
                                              .arg(columns > 3 ? QStringLiteral(",reference") : QString())
                                              .arg(count));
        }
        record.line = csv.line();
        record.number = textOfField(fields[0], record.line);
        record.name = textOfField(fields[1], record.line);
        record.text = textOfField(fields[2], record.line);
        import.apply(record);
    }
}

} // namespace cli
