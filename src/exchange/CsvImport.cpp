#include "exchange/CsvImport.h"

#include "exchange/ExchangeText.h"
#include "exchange/ImportError.h"

#include "xom/Utf8Codec.h"

#include <QByteArrayView>
#include <QString>

#include <array>

namespace exchange {

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

// Sets text to the field's text, its line breaks in the form breaks says.
// The text's own buffer is reused from record to record: a field of ASCII
// without line breaks (nearly every number and name) is widened into it
// without an allocation, and a large text is decoded once, in place.
void readField(const QByteArrayView field, const int line, QString& text, const DecodedBreaks breaks)
{
    const auto* const bytes = reinterpret_cast<const unsigned char*>(field.data());
    const qsizetype size = field.size();
    qsizetype plain = 0;
    while (plain < size && bytes[plain] < 0x80 && bytes[plain] != '\r' && bytes[plain] != '\n')
        ++plain;
    if (plain == size) {
        text.resize(size);
        xom::decodeUtf8(field, reinterpret_cast<char16_t*>(text.data()));
        return;
    }
    text.resize(0);
    if (!appendExchangeText(field, text, breaks))
        throw ImportError(line, QStringLiteral("field is not UTF-8"));
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
    record.text.emplace();
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
        readField(fields[0], record.line, record.number, DecodedBreaks::AsWritten);
        readField(fields[1], record.line, record.name, DecodedBreaks::AsWritten);
        // The editor's line breaks at once: import then takes the text as
        // it is, without a copy.
        readField(fields[2], record.line, *record.text, DecodedBreaks::CrLf);
        import.apply(record);
    }
}

} // namespace exchange
