#include "exchange/CsvImport.h"

#include "exchange/CsvWriter.h"
#include "exchange/ExchangeText.h"
#include "exchange/ImportError.h"

#include "review/ReviewFile.h"

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

// The columns of a header: the first three are always number, name and
// text; the others (their places from 0, or -1) may come in any order.
struct CsvColumns {
    std::size_t count = 3;
    int state = -1;
    int note = -1;
    // "number,name,text" and the others, for messages.
    QString names;
};

CsvColumns readHeader(CsvReader& csv)
{
    const QString missingHeader = QStringLiteral("missing header line \"number,name,text\"");
    if (!csv.next())
        throw ImportError(1, missingHeader);
    static constexpr std::array<QByteArrayView, 3> first{"number", "name", "text"};
    const std::vector<QByteArrayView>& fields = csv.fields();
    CsvColumns columns;
    columns.count = fieldCountWithoutEmptyTail(fields, 0);
    if (columns.count < first.size())
        throw ImportError(csv.line(), missingHeader);
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (fields[i] != first[i])
            throw ImportError(csv.line(), missingHeader);
    }
    columns.names = QStringLiteral("number,name,text");
    bool reference = false;
    for (std::size_t i = first.size(); i < columns.count; ++i) {
        const QByteArrayView name = fields[i];
        int* const place = name == "state" ? &columns.state : name == "note" ? &columns.note : nullptr;
        if (name == "reference" && !reference) {
            reference = true; // read past: the reference is no edit
        } else if (place && *place < 0) {
            *place = static_cast<int>(i);
        } else {
            throw ImportError(csv.line(),
                QStringLiteral("unknown or repeated column \"%1\" (the columns after number,name,text may be "
                               "reference, state and note)")
                    .arg(shownInMessage(QString::fromUtf8(name))));
        }
        columns.names += u',' + QString::fromLatin1(name);
    }
    return columns;
}

// The state a state column's word names (see csvStateWord), in any case;
// the review file's word (review::stateWord: "needs-review"), which
// ludra-lang check --json reports, names it too.
review::State stateOfWord(const QString& word, const int line)
{
    for (const review::State state :
        {review::State::Unset, review::State::NeedsReview, review::State::Translated, review::State::Approved}) {
        if (word.compare(csvStateWord(state), Qt::CaseInsensitive) == 0
            || (state != review::State::Unset && word.compare(review::stateWord(state), Qt::CaseInsensitive) == 0))
            return state;
    }
    throw ImportError(line, QStringLiteral("unknown state \"%1\" (needs review, translated, approved, or empty)")
                                .arg(shownInMessage(word)));
}

} // namespace

void applyCsvEdits(CsvReader& csv, EntryImport& import)
{
    const CsvColumns columns = readHeader(csv);
    ImportRecord record;
    record.text.emplace();
    QString word;
    while (csv.next()) {
        const std::vector<QByteArrayView>& fields = csv.fields();
        const std::size_t count = fieldCountWithoutEmptyTail(fields, 3);
        if (count < 3 || count > columns.count) {
            throw ImportError(csv.line(),
                QStringLiteral("expected %1 fields (%2), found %3").arg(columns.count).arg(columns.names).arg(count));
        }
        record.line = csv.line();
        readField(fields[0], record.line, record.number, DecodedBreaks::AsWritten);
        readField(fields[1], record.line, record.name, DecodedBreaks::AsWritten);
        // The editor's line breaks at once: import then takes the text as
        // it is, without a copy.
        readField(fields[2], record.line, *record.text, DecodedBreaks::CrLf);
        // A field left off the end of the record, as a spreadsheet leaves
        // an empty one, is empty.
        const auto fieldAt = [&](const int place) {
            return static_cast<std::size_t>(place) < count ? fields[static_cast<std::size_t>(place)] : QByteArrayView();
        };
        if (columns.state >= 0) {
            readField(fieldAt(columns.state), record.line, word, DecodedBreaks::AsWritten);
            record.review.state = stateOfWord(word, record.line);
        }
        if (columns.note >= 0) {
            if (!record.review.note)
                record.review.note.emplace();
            readField(fieldAt(columns.note), record.line, *record.review.note, DecodedBreaks::AsWritten);
        }
        import.apply(record);
    }
}

} // namespace exchange
