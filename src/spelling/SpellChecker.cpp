#include "spelling/SpellChecker.h"

#include "spelling/PersonalWords.h"

#include <hunspell/hunspell.hxx>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace spelling {

// The bytes Hunspell takes and gives for a dictionary: the encoding its
// .aff names with SET. UTF-8, the usual one, is done by Qt; any other by
// an ICU converter that stops at a character the encoding lacks rather
// than putting a substitute in (which might be a word of its own).
class DictionaryEncoding {
public:
    // Null when ICU knows no encoding by that name.
    static std::unique_ptr<DictionaryEncoding> named(const QString& name)
    {
        auto encoding = std::unique_ptr<DictionaryEncoding>(new DictionaryEncoding);
        if (isUtf8(name))
            return encoding;
        for (const QString& candidate : icuNamesOf(name)) {
            UErrorCode status = U_ZERO_ERROR;
            UConverter* converter = ucnv_open(candidate.toLatin1().constData(), &status);
            if (U_SUCCESS(status) && converter) {
                encoding->m_converter.reset(converter);
                status = U_ZERO_ERROR;
                ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
                return U_SUCCESS(status) ? std::move(encoding) : nullptr;
            }
            if (converter)
                ucnv_close(converter);
        }
        return nullptr;
    }

    // The word's bytes into out; false when the encoding cannot write it.
    [[nodiscard]] bool encode(const QStringView word, std::string& out)
    {
        if (!word.isValidUtf16())
            return false;
        if (!m_converter) {
            const QByteArray utf8 = word.toUtf8();
            out.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
            return true;
        }
        ucnv_resetFromUnicode(m_converter.get());
        out.resize(static_cast<std::size_t>(UCNV_GET_MAX_BYTES_FOR_STRING(word.size(), 4)));
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucnv_fromUChars(m_converter.get(), out.data(), static_cast<int32_t>(out.size()),
            reinterpret_cast<const UChar*>(word.utf16()), static_cast<int32_t>(word.size()), &status);
        if (U_FAILURE(status))
            return false;
        out.resize(static_cast<std::size_t>(length));
        return true;
    }

    [[nodiscard]] QString decode(const std::string& bytes)
    {
        if (!m_converter)
            return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        ucnv_resetToUnicode(m_converter.get());
        QString text(static_cast<qsizetype>(bytes.size()) * 2 + 1, Qt::Uninitialized);
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucnv_toUChars(m_converter.get(), reinterpret_cast<UChar*>(text.data()),
            static_cast<int32_t>(text.size()), bytes.data(), static_cast<int32_t>(bytes.size()), &status);
        if (U_FAILURE(status))
            return {};
        text.truncate(length);
        return text;
    }

private:
    DictionaryEncoding() = default;

    static bool isUtf8(const QString& name)
    {
        return name.isEmpty() || name.compare(u"UTF-8", Qt::CaseInsensitive) == 0
            || name.compare(u"UTF8", Qt::CaseInsensitive) == 0;
    }

    // The name as written, then as ICU spells what Hunspell's dictionaries
    // write otherwise ("ISO8859-15" → "ISO-8859-15", "microsoft-cp1251" →
    // "cp1251", "TIS620-2533" → "TIS-620").
    static QStringList icuNamesOf(const QString& name)
    {
        QStringList names{name};
        if (name.startsWith(u"ISO8859", Qt::CaseInsensitive))
            names << QStringLiteral("ISO-8859") + name.mid(7);
        if (name.startsWith(u"microsoft-", Qt::CaseInsensitive))
            names << name.mid(10);
        if (name.startsWith(u"TIS620", Qt::CaseInsensitive))
            names << QStringLiteral("TIS-620");
        return names;
    }

    struct CloseConverter {
        void operator()(UConverter* converter) const { ucnv_close(converter); }
    };
    std::unique_ptr<UConverter, CloseConverter> m_converter;
};

namespace {

// Hunspell reports a file it cannot read on standard error and goes on
// with an empty dictionary, which would judge every word misspelt: the
// files are looked at first. A .dic starts with its count of words.
void checkDictionaryFiles(const Dictionary& dictionary)
{
    QFile aff(dictionary.affPath);
    if (!aff.open(QIODevice::ReadOnly))
        throw SpellingError(QStringLiteral("The dictionary file %1 cannot be read: %2")
                                .arg(QDir::toNativeSeparators(dictionary.affPath), aff.errorString()));
    QFile dic(dictionary.dicPath);
    if (!dic.open(QIODevice::ReadOnly))
        throw SpellingError(QStringLiteral("The dictionary file %1 cannot be read: %2")
                                .arg(QDir::toNativeSeparators(dictionary.dicPath), dic.errorString()));
    QByteArray first = dic.readLine(64).trimmed();
    if (first.startsWith("\xEF\xBB\xBF"))
        first = first.mid(3);
    bool isCount = false;
    first.toLongLong(&isCount);
    if (!isCount)
        throw SpellingError(QStringLiteral("The file %1 is no Hunspell dictionary: it does not start with its count "
                                           "of words")
                                .arg(QDir::toNativeSeparators(dictionary.dicPath)));
}

// Words learnt from a document repeat little; a check of a million entries
// keeps its answers within a few tens of megabytes.
constexpr qsizetype MaxJudgedWords = 1 << 18;

} // namespace

SpellChecker::SpellChecker(Dictionary dictionary, QString personalPath)
    : m_dictionary(std::move(dictionary))
    , m_personalPath(std::move(personalPath))
{
    checkDictionaryFiles(m_dictionary);
    m_hunspell = std::make_unique<Hunspell>(
        QFile::encodeName(m_dictionary.affPath).constData(), QFile::encodeName(m_dictionary.dicPath).constData());
    const QString encodingName = QString::fromStdString(m_hunspell->get_dict_encoding());
    m_encoding = DictionaryEncoding::named(encodingName);
    if (!m_encoding)
        throw SpellingError(QStringLiteral("The dictionary %1 is written in %2, an encoding that is not known")
                                .arg(QDir::toNativeSeparators(m_dictionary.affPath), encodingName));
    teach(readPersonalWordsFile(m_personalPath));
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::isKnown(const QStringView word)
{
    if (word.isEmpty())
        return true;
    const QString key = word.toString();
    const auto judged = m_judged.constFind(key);
    if (judged != m_judged.constEnd())
        return *judged;
    const bool known = judge(word);
    if (m_judged.size() >= MaxJudgedWords)
        m_judged.clear();
    m_judged.insert(key, known);
    return known;
}

bool SpellChecker::judge(const QStringView word)
{
    if (m_personalSet.contains(word.toString()) || hunspellKnows(word))
        return true;
    // Dictionaries write the straight apostrophe; texts often the
    // typographic one.
    if (!word.contains(u'\u2019'))
        return false;
    QString straight = word.toString();
    straight.replace(u'\u2019', u'\'');
    return m_personalSet.contains(straight) || hunspellKnows(straight);
}

bool SpellChecker::hunspellKnows(const QStringView word)
{
    return m_encoding->encode(word, m_encoded) && m_hunspell->spell(m_encoded);
}

QStringList SpellChecker::suggestions(const QStringView word, const int max)
{
    QStringList found;
    if (max <= 0 || word.isEmpty() || !m_encoding->encode(word, m_encoded))
        return found;
    for (const std::string& suggestion : m_hunspell->suggest(m_encoded)) {
        if (found.size() >= max)
            break;
        const QString text = m_encoding->decode(suggestion);
        if (!text.isEmpty() && !found.contains(text))
            found << text;
    }
    return found;
}

bool SpellChecker::addToPersonal(const QStringView word)
{
    if (!isPersonalWord(word))
        return false;
    // Another checker (another window, ludra-lang) may have added words
    // since the list was read: they are kept, and learnt here too.
    QStringList words = readPersonalWordsFile(m_personalPath);
    words << m_personalWords << word.toString();
    const QByteArray bytes = personalWordsBytes(words);
    QDir().mkpath(QFileInfo(m_personalPath).absolutePath());
    QSaveFile file(m_personalPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw SpellingError(QStringLiteral("The personal word list %1 cannot be written: %2")
                                .arg(QDir::toNativeSeparators(m_personalPath), file.errorString()));
    teach(readPersonalWords(bytes));
    return true;
}

void SpellChecker::teach(const QStringList& words)
{
    for (const QString& word : words) {
        if (m_personalSet.contains(word))
            continue;
        m_personalSet.insert(word);
        if (m_encoding->encode(word, m_encoded))
            m_hunspell->add(m_encoded);
    }
    m_personalWords = QStringList(m_personalSet.begin(), m_personalSet.end());
    std::sort(m_personalWords.begin(), m_personalWords.end());
    // Hunspell now knows other forms of the new words too ("LUDRA" for
    // "Ludra"): what was judged before is judged again.
    m_judged.clear();
}

} // namespace spelling
