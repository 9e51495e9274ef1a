#include "review/ReviewFile.h"

#include "text/FieldEscapes.h"
#include "xom/Parallel.h"

#include <QByteArrayList>
#include <QHashFunctions>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <iterator>
#include <optional>

namespace review {

namespace {

const QByteArray headerLine = QByteArrayLiteral("# Ludra review 1");
const QByteArray fingerprintTag = QByteArrayLiteral("# language-file ");
const QByteArray languagesTag = QByteArrayLiteral("# languages ");
const QByteArray checksTag = QByteArrayLiteral("# checks ");
const QByteArray maxCharactersWord = QByteArrayLiteral("max-characters=");
const QByteArray maxPercentWord = QByteArrayLiteral("max-percent=");
const QByteArray dictionaryWord = QByteArrayLiteral("dictionary=");
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

// Where the first byte that is not well-formed UTF-8 stands (an overlong
// form, an encoded surrogate, a code point above U+10FFFF, a sequence cut
// short), or -1. Checked once a line, so that each field is then decoded
// without a check of its own.
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

// A language tag as the languages line gives it: "-" for none.
bool isTagWord(const QByteArrayView word)
{
    if (word == "-")
        return true;
    return !word.isEmpty() && word.size() <= 35 && std::all_of(word.begin(), word.end(), [](const char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
}

ReviewLanguages languagesOf(const QByteArrayView rest, const int line)
{
    const qsizetype space = rest.indexOf(' ');
    const QByteArrayView source = space < 0 ? rest : rest.first(space);
    const QByteArrayView target = space < 0 ? QByteArrayView() : rest.sliced(space + 1);
    if (!isTagWord(source) || !isTagWord(target))
        throw ReviewFileError(line, QStringLiteral("the languages are not two language tags"));
    const auto tag = [](const QByteArrayView word) { return word == "-" ? QString() : QString::fromLatin1(word); };
    return ReviewLanguages{tag(source), tag(target)};
}

bool isCheckKey(const QByteArrayView word)
{
    return !word.isEmpty() && word.size() <= 64 && std::all_of(word.begin(), word.end(), [](const char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

// A limit's value: a whole number from 1 to a million.
int limitOf(const QByteArrayView digits, const int line)
{
    bool ok = digits.size() <= 7
           && std::all_of(digits.begin(), digits.end(), [](const char c) { return c >= '0' && c <= '9'; });
    const int value = ok ? QByteArray(digits.data(), digits.size()).toInt(&ok) : 0;
    if (!ok || value < 1 || value > 1'000'000)
        throw ReviewFileError(line, QStringLiteral("a length limit is not a number from 1 to 1000000"));
    return value;
}

ReviewChecks checksOf(const QByteArrayView rest, const int line)
{
    ReviewChecks checks;
    for (const QByteArrayView word : QByteArray(rest.data(), rest.size()).split(' ')) {
        if (word.isEmpty())
            continue;
        if ((word.front() == '+' || word.front() == '-') && isCheckKey(word.sliced(1))) {
            (word.front() == '+' ? checks.turnedOn : checks.turnedOff) << QString::fromLatin1(word.sliced(1));
        } else if (word.startsWith(maxCharactersWord)) {
            checks.maxCharacters = limitOf(word.sliced(maxCharactersWord.size()), line);
        } else if (word.startsWith(maxPercentWord)) {
            checks.maxPercent = limitOf(word.sliced(maxPercentWord.size()), line);
        } else if (word.startsWith(dictionaryWord)) {
            const QByteArrayView tag = word.sliced(dictionaryWord.size());
            if (tag == "-" || !isTagWord(tag))
                throw ReviewFileError(line, QStringLiteral("the dictionary is not a language tag"));
            checks.dictionary = QString::fromLatin1(tag);
        } else if (const qsizetype equals = word.indexOf('=');
                   equals > 0 && isCheckKey(word.first(equals))
                   && std::all_of(word.begin(), word.end(), [](const char c) { return c > ' ' && c < 0x7f; })) {
            checks.otherSettings << QString::fromLatin1(word);
        } else {
            throw ReviewFileError(line, QStringLiteral("the checks line has a word it cannot read"));
        }
    }
    return checks;
}

QByteArray checksLine(const ReviewChecks& checks)
{
    QByteArray line = checksTag;
    for (const QString& key : checks.turnedOn)
        line += '+' + key.toLatin1() + ' ';
    for (const QString& key : checks.turnedOff)
        line += '-' + key.toLatin1() + ' ';
    if (checks.maxCharacters > 0)
        line += maxCharactersWord + QByteArray::number(checks.maxCharacters) + ' ';
    if (checks.maxPercent > 0)
        line += maxPercentWord + QByteArray::number(checks.maxPercent) + ' ';
    if (!checks.dictionary.isEmpty())
        line += dictionaryWord + checks.dictionary.toLatin1() + ' ';
    for (const QString& setting : checks.otherSettings)
        line += setting.toLatin1() + ' ';
    line.back() = '\n';
    return line;
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

// Each line's name hashed, with the line's index, in order of the hashes:
// the key by which names given twice are found.
using NameHashes = std::vector<std::pair<std::size_t, std::size_t>>;

NameHashes sortedNameHashes(const std::vector<ReviewLine>& lines, const std::size_t firstIndex)
{
    NameHashes hashes(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        hashes[i] = {qHash(lines[i].name), firstIndex + i};
    std::sort(hashes.begin(), hashes.end());
    return hashes;
}

// An entry (a name and a number: files may give one name to several
// entries) given on two lines refuses the file at the later of the first
// such pair. The names are compared by hash, in order of their hashes, and
// only names of one hash as texts: a hash table of a million names spends
// its time in cache misses, and this sort does not.
void refuseNamesGivenTwice(
    const std::vector<ReviewLine>& lines, const std::vector<int>& lineNumbers, const NameHashes& hashes)
{
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

// What one part of a file held: its lines, the line number of each, and
// the fingerprint when the part has it.
struct LinesRead {
    std::vector<ReviewLine> lines;
    std::vector<int> lineNumbers;
    std::optional<LanguageFingerprint> language;
    std::optional<ReviewLanguages> languages;
    std::optional<ReviewChecks> checks;
    NameHashes nameHashes;
};

// The lines of part, whose first line is line firstLine of the file (line 1
// being the header, passed over), the first of them at index firstIndex of
// the file's lines, with room for room lines; and their names' hashes.
LinesRead readLines(
    const QByteArrayView part, const int firstLine, const std::size_t firstIndex, const std::size_t room)
{
    LinesRead read;
    read.lines.reserve(room);
    read.lineNumbers.reserve(read.lines.capacity());
    int line = firstLine - 1;
    for (qsizetype start = 0; start < part.size();) {
        qsizetype end = part.indexOf('\n', start);
        if (end < 0)
            end = part.size();
        ++line;
        QByteArrayView row = part.sliced(start, end - start);
        start = end + 1;
        if (row.size() > longestReviewLine)
            throw ReviewFileError(line, QStringLiteral("the line is longer than any entry's texts"));
        // Each half checks its own lines, so that the check is shared out
        // too; the first fault of a line, whatever it is, refuses the file.
        if (firstBadUtf8(row) >= 0)
            throw ReviewFileError(line, QStringLiteral("the line is not UTF-8"));
        if (row.endsWith('\r'))
            row.chop(1);
        if (line == 1 || row.isEmpty())
            continue;
        if (row.startsWith('#')) {
            if (row.startsWith(fingerprintTag))
                read.language = fingerprintOf(row.sliced(fingerprintTag.size()), line);
            else if (row.startsWith(languagesTag))
                read.languages = languagesOf(row.sliced(languagesTag.size()), line);
            else if (row.startsWith(checksTag))
                read.checks = checksOf(row.sliced(checksTag.size()), line);
            continue;
        }
        read.lines.push_back(lineOf(row, line));
        read.lineNumbers.push_back(line);
    }
    read.nameHashes = sortedNameHashes(read.lines, firstIndex);
    return read;
}

// UTF-8 written in place into a region of a buffer sized beforehand for the
// longest the texts can come to: a million lines are written without a
// text of their own each, nor a UTF-16 copy of the whole file.
class Utf8Out {
public:
    explicit Utf8Out(char* at)
        : m_next(at)
    {
    }

    void append(const QStringView text) { m_next = m_encoder.appendToBuffer(m_next, text); }
    void append(const char byte) { *m_next++ = byte; }
    // A field: as it is when it needs no escape (nearly every one),
    // otherwise escaped first.
    void appendField(const QString& text)
    {
        if (!text::needsFieldEscapes(text)) {
            append(QStringView(text));
            return;
        }
        QString escaped;
        text::appendEscapedField(escaped, text);
        append(QStringView(escaped));
    }

    [[nodiscard]] char* next() const noexcept { return m_next; }

private:
    char* m_next;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
};

// The most bytes lines begin .. end can take: three a UTF-16 unit (an
// escape takes at most six bytes for two units or for a lone surrogate's
// one, which is three a unit too... but \u0023 for a number's "#" takes
// six for one), and the tabs, state and line end.
qsizetype mostBytesOf(const std::vector<ReviewLine>& lines, const std::size_t begin, const std::size_t end)
{
    qsizetype bytes = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const ReviewLine& line = lines[i];
        bytes += 6
                   * (line.number.size() + line.name.size() + line.review.note.size()
                       + (line.review.snapshot ? line.review.snapshot->size() : 0))
               + 32;
    }
    return bytes;
}

// Writes lines begin .. end of lines as the file holds them at at; gives
// where they end.
char* writeLines(const std::vector<ReviewLine>& lines, const std::size_t begin, const std::size_t end, char* const at)
{
    Utf8Out out(at);
    for (std::size_t i = begin; i < end; ++i) {
        const ReviewLine& line = lines[i];
        // A line that began with "#" would read as a comment.
        if (line.number.startsWith(u'#')) {
            out.append(u"\\u0023");
            out.appendField(line.number.sliced(1));
        } else {
            out.appendField(line.number);
        }
        out.append('\t');
        out.appendField(line.name);
        out.append('\t');
        out.append(stateWord(line.review.state));
        out.append('\t');
        if (line.review.snapshot) {
            out.append('=');
            out.appendField(*line.review.snapshot);
        } else {
            out.append('-');
        }
        out.append('\t');
        out.appendField(line.review.note);
        out.append('\n');
    }
    return out.next();
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
    QByteArray head = headerLine + '\n';
    if (file.language.size >= 0)
        head += fingerprintTag + QByteArray::number(file.language.size) + ' ' + file.language.sha256.toHex() + '\n';
    if (!file.languages.isEmpty()) {
        const auto word = [](const QString& tag) { return tag.isEmpty() ? QByteArray("-") : tag.toLatin1(); };
        head += languagesTag + word(file.languages.source) + ' ' + word(file.languages.target) + '\n';
    }
    if (!file.checks.isEmpty())
        head += checksLine(file.checks);

    // One buffer of room for the most the lines can take, which is never
    // touched where it is not written (a page of memory costs only once
    // written). The two halves of the lines are written at once into
    // regions of their own, and the second is then moved down to follow
    // the first.
    const std::size_t count = file.lines.size();
    const std::size_t middle = xom::worthTwoThreads(count) ? count / 2 : count;
    const qsizetype firstRoom = mostBytesOf(file.lines, 0, middle);
    QByteArray bytes;
    bytes.resize(head.size() + firstRoom + mostBytesOf(file.lines, middle, count));
    char* const start = bytes.data();
    std::memcpy(start, head.constData(), static_cast<std::size_t>(head.size()));
    char* const secondAt = start + head.size() + firstRoom;
    char* firstEnd = nullptr;
    char* secondEnd = secondAt;
    xom::bothAtOnceIf(
        middle < count, [&] { firstEnd = writeLines(file.lines, 0, middle, start + head.size()); },
        [&] { secondEnd = writeLines(file.lines, middle, count, secondAt); });
    std::memmove(firstEnd, secondAt, static_cast<std::size_t>(secondEnd - secondAt));
    bytes.truncate((firstEnd - start) + (secondEnd - secondAt));
    return bytes;
}

ReviewFile readReviewFile(const QByteArrayView bytes)
{
    if (!bytes.startsWith(headerLine)
        || (bytes.size() > headerLine.size() && bytes[headerLine.size()] != '\n' && bytes[headerLine.size()] != '\r'))
        throw ReviewFileError(1, QStringLiteral("this is no review file of this version"));
    // Two halves at once, the second from the line after the middle byte;
    // the first half's fault, at the earlier line, is the one told. The
    // first half's lines have room for the second's, which follow them
    // without a second array of a million lines.
    qsizetype middle = bytes.size();
    if (xom::worthTwoThreads(static_cast<std::size_t>(bytes.size() / 64))) {
        middle = bytes.indexOf('\n', bytes.size() / 2);
        middle = middle < 0 ? bytes.size() : middle + 1;
    }
    const QByteArrayView firstPart = bytes.first(middle);
    const QByteArrayView secondPart = bytes.sliced(middle);
    const auto firstBreaks = static_cast<std::size_t>(firstPart.count('\n'));
    const auto secondBreaks = static_cast<std::size_t>(secondPart.count('\n'));
    LinesRead first;
    LinesRead second;
    xom::bothAtOnceIf(
        middle < bytes.size(), [&] { first = readLines(firstPart, 1, 0, firstBreaks + secondBreaks + 1); },
        [&] {
            // Its lines' indexes are known once the first half is read: its
            // names' hashes are moved up then.
            second = readLines(secondPart, static_cast<int>(firstBreaks) + 1, 0, secondBreaks + 1);
        });

    ReviewFile file;
    file.language = first.language ? *first.language : second.language.value_or(LanguageFingerprint());
    file.languages = first.languages ? *first.languages : second.languages.value_or(ReviewLanguages());
    file.checks = first.checks ? *first.checks : second.checks.value_or(ReviewChecks());
    const std::size_t offset = first.lines.size();
    file.lines = std::move(first.lines);
    file.lines.insert(
        file.lines.end(), std::make_move_iterator(second.lines.begin()), std::make_move_iterator(second.lines.end()));
    std::vector<int> lineNumbers = std::move(first.lineNumbers);
    lineNumbers.insert(lineNumbers.end(), second.lineNumbers.begin(), second.lineNumbers.end());
    // The halves' sorted hashes merged, the second's indexes moved past the
    // first's lines.
    for (auto& [hash, index] : second.nameHashes)
        index += offset;
    NameHashes hashes(first.nameHashes.size() + second.nameHashes.size());
    std::merge(first.nameHashes.begin(), first.nameHashes.end(), second.nameHashes.begin(), second.nameHashes.end(),
        hashes.begin());
    refuseNamesGivenTwice(file.lines, lineNumbers, hashes);
    return file;
}

} // namespace review
