#include "spelling/DictionaryCatalog.h"

#include "memory/LanguageTags.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace spelling {

namespace {

// The language subtag of a normal tag: "pt-BR" → "pt".
QStringView languageOf(const QStringView normalTag)
{
    const qsizetype dash = normalTag.indexOf(u'-');
    return dash < 0 ? normalTag : normalTag.first(dash);
}

// The region most of a language's speakers write, where it is not the
// language's own code in upper case (de-DE, fr-FR, pt-PT need no entry).
QString usualRegionOf(const QStringView language)
{
    static const std::pair<const char16_t*, const char16_t*> others[]{{u"ca", u"ES"}, {u"cs", u"CZ"}, {u"da", u"DK"},
        {u"el", u"GR"}, {u"en", u"US"}, {u"et", u"EE"}, {u"eu", u"ES"}, {u"ga", u"IE"}, {u"gl", u"ES"}, {u"he", u"IL"},
        {u"hy", u"AM"}, {u"ja", u"JP"}, {u"ka", u"GE"}, {u"kk", u"KZ"}, {u"ko", u"KR"}, {u"nb", u"NO"}, {u"nn", u"NO"},
        {u"sl", u"SI"}, {u"sq", u"AL"}, {u"sr", u"RS"}, {u"sv", u"SE"}, {u"uk", u"UA"}, {u"vi", u"VN"}, {u"zh", u"CN"}};
    for (const auto& [code, region] : others) {
        if (language == QStringView(code))
            return QString::fromUtf16(region);
    }
    return language.toString().toUpper();
}

// The tag a dictionary's base name gives, empty when it gives none
// ("hyph_de_DE", "th_en_US_v2" and "README" are no dictionaries).
QString tagOfBaseName(const QStringView baseName)
{
    const QString tag = memory::normalLanguageTag(baseName);
    const qsizetype languageLength = languageOf(tag).size();
    if (languageLength < 2 || languageLength > 3)
        return {};
    for (const QChar c : languageOf(tag)) {
        if (!c.isLetter())
            return {};
    }
    return tag;
}

} // namespace

QStringList defaultDictionaryFolders()
{
    QStringList folders;
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/hunspell");
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell/dicts");
    folders.removeDuplicates();
    return folders;
}

DictionaryCatalog::DictionaryCatalog(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList affixFiles = dir.entryList({QStringLiteral("*.aff")}, QDir::Files | QDir::Readable);
        for (const QString& affName : affixFiles) {
            const QString baseName = affName.chopped(4);
            const QString tag = tagOfBaseName(baseName);
            const QString dicPath = dir.filePath(baseName + QStringLiteral(".dic"));
            if (tag.isEmpty() || !QFileInfo(dicPath).isFile())
                continue;
            const bool known = std::any_of(m_dictionaries.begin(), m_dictionaries.end(),
                [&](const Dictionary& dictionary) { return dictionary.tag == tag; });
            if (!known)
                m_dictionaries.push_back({tag, dir.filePath(affName), dicPath});
        }
    }
    std::sort(m_dictionaries.begin(), m_dictionaries.end(),
        [](const Dictionary& a, const Dictionary& b) { return a.tag < b.tag; });
}

std::optional<Dictionary> DictionaryCatalog::bestFor(const QStringView languageTag) const
{
    const QString tag = memory::normalLanguageTag(languageTag);
    if (tag.isEmpty())
        return std::nullopt;
    const QStringView language = languageOf(tag);
    const QString usual = language.toString() + u'-' + usualRegionOf(language);
    const Dictionary* usualOne = nullptr;
    const Dictionary* languageAlone = nullptr;
    const Dictionary* first = nullptr;
    for (const Dictionary& dictionary : m_dictionaries) {
        if (dictionary.tag == tag)
            return dictionary;
        if (languageOf(dictionary.tag) != language)
            continue;
        if (dictionary.tag == usual)
            usualOne = &dictionary;
        else if (dictionary.tag == language)
            languageAlone = &dictionary;
        if (!first)
            first = &dictionary;
    }
    for (const Dictionary* choice : {usualOne, languageAlone, first}) {
        if (choice)
            return *choice;
    }
    return std::nullopt;
}

} // namespace spelling
