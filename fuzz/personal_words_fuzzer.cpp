// Arbitrary bytes read as a personal word list: every word read is one a
// list can hold, came from the bytes, and writes back into bytes that read
// the same; no line that is a word in UTF-8 is lost.
#include "spelling/PersonalWords.h"

#include "support/FuzzChecks.h"

#include <QStringDecoder>

#include <algorithm>

using testsupport::failFuzzing;

namespace {

// The lines a list's reader should keep, found the plainest way: split at
// every LF, CR and NUL, each that is valid UTF-8 and a word once trimmed
// (the first without its byte order mark).
QStringList plainUtf8Words(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    bytes.replace('\r', '\n').replace('\0', '\n');
    QStringList words;
    for (const QByteArray& line : bytes.split('\n')) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString word = QString(utf8.decode(line)).trimmed();
        if (!utf8.hasError() && spelling::isPersonalWord(word))
            words << word;
    }
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of its own, so that a read past the end is a read past the
    // allocation.
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList words = spelling::readPersonalWords(bytes);
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!spelling::isPersonalWord(words[i]))
            failFuzzing("a word read is none a list can hold");
        if (i > 0 && !(words[i - 1] < words[i]))
            failFuzzing("the words read are not sorted without duplicates");
        const QByteArray latin1 = words[i].toLatin1();
        if (!bytes.contains(words[i].toUtf8()) && (QString::fromLatin1(latin1) != words[i] || !bytes.contains(latin1)))
            failFuzzing("a word read is not in the bytes, in UTF-8 or in Latin-1");
    }
    for (const QString& word : plainUtf8Words(bytes)) {
        if (!std::binary_search(words.begin(), words.end(), word))
            failFuzzing("a line that is a word in UTF-8 was lost");
    }
    const QByteArray written = spelling::personalWordsBytes(words);
    if (spelling::readPersonalWords(written) != words)
        failFuzzing("what was written reads back otherwise");
    if (spelling::personalWordsBytes(spelling::readPersonalWords(written)) != written)
        failFuzzing("writing what was read from a written list changes it");
    return 0;
}
