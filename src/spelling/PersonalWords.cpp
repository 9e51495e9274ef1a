#include "spelling/PersonalWords.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>

namespace spelling {

namespace {

// The line's text: UTF-8 when it is valid UTF-8, else Latin-1, where every
// byte is a character.
QString decodedLine(const QByteArrayView line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(line);
    if (utf8.hasError())
        return QString::fromLatin1(line);
    return text;
}

void sortWithoutDuplicates(QStringList& words)
{
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
}

} // namespace

bool isPersonalWord(const QStringView word)
{
    if (word.isEmpty() || word.size() > MaxPersonalWordLength || word.front().isSpace() || word.back().isSpace())
        return false;
    // A byte order mark would be taken for the file's at its start; a lone
    // surrogate has no UTF-8.
    if (word.front() == QChar::ByteOrderMark || !word.isValidUtf16())
        return false;
    return std::none_of(word.begin(), word.end(), [](const QChar c) {
        return c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
}

QStringList readPersonalWords(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringList words;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\0')
            continue;
        // A line far longer than any word is none, whatever its encoding:
        // it is not decoded at all.
        const QByteArrayView line = bytes.sliced(start, i - start);
        start = i + 1;
        if (line.isEmpty() || line.size() > 4 * MaxPersonalWordLength + 16)
            continue;
        const QString word = decodedLine(line).trimmed();
        if (isPersonalWord(word))
            words << word;
    }
    sortWithoutDuplicates(words);
    return words;
}

QByteArray personalWordsBytes(const QStringList& words)
{
    QStringList kept;
    kept.reserve(words.size());
    std::copy_if(
        words.begin(), words.end(), std::back_inserter(kept), [](const QString& w) { return isPersonalWord(w); });
    sortWithoutDuplicates(kept);
    QByteArray bytes;
    for (const QString& word : kept) {
        bytes += word.toUtf8();
        bytes += '\n';
    }
    return bytes;
}

QStringList readPersonalWordsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readPersonalWords(file.readAll());
}

QString personalWordListPath(const QStringView tag)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
         + QStringLiteral("/ludra-language-editor/spelling/") + tag.toString() + QStringLiteral(".dic");
}

} // namespace spelling
