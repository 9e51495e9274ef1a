#include "review/ReviewFile.h"

#include "text/FieldEscapes.h"

#include <QHashFunctions>

#include <algorithm>
#include <array>
#include <cctype>

namespace review {

namespace {

const QByteArray headerLine = QByteArrayLiteral("# Ludra review 1");
const QByteArray fingerprintTag = QByteArrayLiteral("# language-file ");
constexpr int fieldCount = 5;

struct StateName {
    State state;
    const char16_t* word;
};
constexpr StateName stateNames[] = {
    {State::Unset, u"-"},
    {State::NeedsReview, u"needs-review"},
    {State::Translated, u"translated"},
    {State::Approved, u"approved"},
};

std::optional<State> stateOfWord(const QByteArrayView word)
{
    for (const StateName& name : stateNames) {
        if (QtPrivate::compareStrings(QLatin1String(word), QStringView(name.word)) == 0)
            return name.state;
    }
    return std::nullopt;
}

// The line (from 1) that holds byte at of bytes.
int lineAt(const QByteArrayView bytes, const qsizetype at)
{
    return 1 + static_cast<int>(bytes.first(std::min(at, bytes.size())).count('\n'));
}

// Where the first byte that is not well-formed UTF-8 stands (an overlong
// form, an encoded surrogate, a code point above U+10FFFF, a sequence cut
// short), or -1. Checked once over the whole file, so that each field is
// then decoded without a check of its own.
qsizetype firstBadUtf8(const QByteArrayView bytes)
{
    const auto* const data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const std::uint8_t lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + more >= size)
            return i;
        if (data[i + 1] < low || data[i + 1] > high)
            return i;
        for (int k = 2; k <= more; ++k) {
            if (data[i + k] < 0x80 || data[i + k] > 0xBF)
                return i;
        }
        i += more + 1;
    }
    return -1;
}

// A field's text: decoded as it stands when it holds no escape.
std::optional<QString> fieldText(const QByteArrayView field)
{
    const QString text = QString::fromUtf8(field);
    if (!field.contains('\\'))
        return text;
    return text::unescapedField(text, text::UnitEscapes::Allowed);
}

LanguageFingerprint fingerprintOf(const QByteArrayView rest, const int line)
{
    const qsizetype space = rest.indexOf(' ');
    bool ok = false;
    LanguageFingerprint fingerprint;
    fingerprint.size = space > 0 ? rest.first(space).toLongLong(&ok) : 0;
    const QByteArrayView hex = ok ? rest.sliced(space + 1) : QByteArrayView();
    ok = ok && hex.size() == 64
      && std::all_of(hex.begin(), hex.end(), [](const char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (ok)
        fingerprint.sha256 = QByteArray::fromHex(hex.toByteArray());
    if (!ok || fingerprint.size < 0 || fingerprint.sha256.size() != 32)
        throw ReviewFileError(line, QStringLiteral("the language file's size and hash are not readable"));
    return fingerprint;
}

ReviewLine lineOf(const QByteArrayView text, const int line)
{
    // The fields between tabs, without a list made for each line.
    std::array<QByteArrayView, fieldCount> fields;
    int count = 0;
    for (qsizetype start = 0;; ++count) {
        const qsizetype end = text.indexOf('\t', start);
        if (count < fieldCount)
            fields[static_cast<std::size_t>(count)] = text.sliced(start, (end < 0 ? text.size() : end) - start);
        if (end < 0)
            break;
        start = end + 1;
    }
    ++count;
    if (count != fieldCount)
        throw ReviewFileError(line, QStringLiteral("%1 fields where a line has %2").arg(count).arg(fieldCount));
    ReviewLine entry;
    const auto field = [&](const int index, const char* what) {
        std::optional<QString> value = fieldText(fields[static_cast<std::size_t>(index)]);
        if (!value)
            throw ReviewFileError(line, QStringLiteral("a bad escape in the %1").arg(QLatin1String(what)));
        return std::move(*value);
    };
    entry.number = field(0, "number");
    entry.name = field(1, "name");
    const std::optional<State> state = stateOfWord(fields[2]);
    if (!state)
        throw ReviewFileError(
            line, QStringLiteral("\"%1\" is no state")
                      .arg(QString::fromUtf8(fields[2].first(std::min<qsizetype>(fields[2].size(), 40)))));
    entry.review.state = *state;
    if (fields[3] == "-")
        entry.review.snapshot.reset();
    else if (fields[3].startsWith('='))
        entry.review.snapshot = field(3, "snapshot").sliced(1);
    else
        throw ReviewFileError(line, QStringLiteral("the snapshot is neither \"-\" nor \"=\" and a text"));
    entry.review.note = field(4, "note");
    return entry;
}

// An entry (a name and a number: files may give one name to several
// entries) given on two lines refuses the file at the later of the first
// such pair. The names are compared by hash, in order of their hashes, and
// only names of one hash as texts: a hash table of a million names spends
// its time in cache misses, and this sort does not.
void refuseNamesGivenTwice(const std::vector<ReviewLine>& lines, const std::vector<int>& lineNumbers)
{
    std::vector<std::pair<std::size_t, std::size_t>> hashes(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        hashes[i] = {qHash(lines[i].name), i};
    std::sort(hashes.begin(), hashes.end());
    std::optional<std::pair<int, int>> first; // (later line, earlier line)
    for (std::size_t i = 1; i < hashes.size(); ++i) {
        for (std::size_t j = i; j > 0 && hashes[j - 1].first == hashes[i].first; --j) {
            const std::size_t a = hashes[j - 1].second;
            const std::size_t b = hashes[i].second;
            if (lines[a].name != lines[b].name || lines[a].number != lines[b].number)
                continue;
            const std::pair<int, int> pair{lineNumbers[std::max(a, b)], lineNumbers[std::min(a, b)]};
            if (!first || pair < *first)
                first = pair;
        }
    }
    if (first)
        throw ReviewFileError(first->first, QStringLiteral("line %1 names this entry already").arg(first->second));
}

} // namespace

QStringView stateWord(const State state)
{
    for (const StateName& name : stateNames) {
        if (name.state == state)
            return QStringView(name.word);
    }
    return u"-";
}

QString reviewPathFor(const QString& languagePath)
{
    return languagePath + QStringLiteral(".review");
}

ReviewFileError::ReviewFileError(const int line, const QString& reason)
    : std::runtime_error("review file error")
    , m_line(line)
    , m_reason(reason)
{
}

QString ReviewFileError::message() const
{
    return QStringLiteral("line %1: %2").arg(m_line).arg(m_reason);
}

QByteArray writeReviewFile(const ReviewFile& file)
{
    // Room for every text once, and a little for the rest of each line.
    qsizetype room = 128;
    for (const ReviewLine& line : file.lines) {
        room += line.number.size() + line.name.size() + line.review.note.size() + 24
              + (line.review.snapshot ? line.review.snapshot->size() : 0);
    }
    QString text;
    text.reserve(room);
    text += QString::fromLatin1(headerLine) + u'\n';
    if (file.language.size >= 0) {
        text += QString::fromLatin1(fingerprintTag) + QString::number(file.language.size) + u' '
              + QString::fromLatin1(file.language.sha256.toHex()) + u'\n';
    }
    for (const ReviewLine& line : file.lines) {
        // A line that began with "#" would read as a comment.
        if (line.number.startsWith(u'#')) {
            text += QLatin1String("\\u0023");
            text::appendEscapedField(text, line.number.sliced(1));
        } else {
            text::appendEscapedField(text, line.number);
        }
        text += u'\t';
        text::appendEscapedField(text, line.name);
        text += u'\t';
        text += stateWord(line.review.state);
        text += u'\t';
        if (line.review.snapshot) {
            text += u'=';
            text::appendEscapedField(text, *line.review.snapshot);
        } else {
            text += u'-';
        }
        text += u'\t';
        text::appendEscapedField(text, line.review.note);
        text += u'\n';
    }
    // Every lone surrogate is escaped: the text is whole UTF-16.
    return text.toUtf8();
}

ReviewFile readReviewFile(const QByteArrayView bytes)
{
    if (!bytes.startsWith(headerLine)
        || (bytes.size() > headerLine.size() && bytes[headerLine.size()] != '\n' && bytes[headerLine.size()] != '\r'))
        throw ReviewFileError(1, QStringLiteral("this is no review file of this version"));
    if (const qsizetype bad = firstBadUtf8(bytes); bad >= 0)
        throw ReviewFileError(lineAt(bytes, bad), QStringLiteral("the line is not UTF-8"));

    ReviewFile file;
    file.lines.reserve(static_cast<std::size_t>(bytes.count('\n')));
    std::vector<int> lineNumbers;
    lineNumbers.reserve(file.lines.capacity());
    int line = 0;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        ++line;
        QByteArrayView row = bytes.sliced(start, end - start);
        start = end + 1;
        if (row.size() > longestReviewLine)
            throw ReviewFileError(line, QStringLiteral("the line is longer than any entry's texts"));
        if (row.endsWith('\r'))
            row.chop(1);
        if (line == 1 || row.isEmpty())
            continue;
        if (row.startsWith('#')) {
            if (row.startsWith(fingerprintTag))
                file.language = fingerprintOf(row.sliced(fingerprintTag.size()), line);
            continue;
        }
        file.lines.push_back(lineOf(row, line));
        lineNumbers.push_back(line);
    }
    refuseNamesGivenTwice(file.lines, lineNumbers);
    return file;
}

} // namespace review
