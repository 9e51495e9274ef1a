// The catalog of installed dictionaries, on folders of fake dictionary
// files: which pairs count, their tags, and the choice for a language.

#include "spelling/DictionaryCatalog.h"

#include "SpellingTests.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using namespace Qt::StringLiterals;

void writeFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("1\nword\n");
}

// Makes base.aff and base.dic (or only the one named) in the folder.
void makePair(const QString& folder, const QString& base)
{
    writeFile(folder + u'/' + base + u".aff"_s);
    writeFile(folder + u'/' + base + u".dic"_s);
}

QStringList tagsOf(const spelling::DictionaryCatalog& catalog)
{
    QStringList tags;
    for (const spelling::Dictionary& dictionary : catalog.dictionaries())
        tags << dictionary.tag;
    return tags;
}

TEST(DictionaryCatalog, CountsPairsNamedByALanguageTag)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const QString& base : {u"en_US"_s, u"de_DE"_s, u"de_AT"_s, u"pt_BR"_s, u"fr"_s, u"sr-Latn_RS"_s,
             u"hyph_de_DE"_s, u"README"_s, u"en_US.old"_s, u"x_Y"_s, u"1x_YY"_s})
        makePair(folder.path(), base);
    writeFile(folder.filePath(u"nl_NL.aff"_s)); // no .dic
    writeFile(folder.filePath(u"it_IT.dic"_s)); // no .aff
    QDir(folder.path()).mkdir(u"es_ES.aff"_s);  // a folder, not a file

    const spelling::DictionaryCatalog catalog({folder.path()});
    EXPECT_EQ(tagsOf(catalog), (QStringList{u"de-AT"_s, u"de-DE"_s, u"en-US"_s, u"fr"_s, u"pt-BR"_s, u"sr-Latn-RS"_s}));
    const spelling::Dictionary& german = catalog.dictionaries()[1];
    EXPECT_EQ(german.affPath, folder.filePath(u"de_DE.aff"_s));
    EXPECT_EQ(german.dicPath, folder.filePath(u"de_DE.dic"_s));
}

TEST(DictionaryCatalog, TheEarlierFolderWinsAndMissingFoldersHoldNothing)
{
    QTemporaryDir user;
    QTemporaryDir system;
    ASSERT_TRUE(user.isValid() && system.isValid());
    makePair(user.path(), u"de_DE"_s);
    makePair(system.path(), u"de_DE"_s);
    makePair(system.path(), u"en_US"_s);

    const spelling::DictionaryCatalog catalog({user.filePath(u"missing"_s), user.path(), system.path()});
    ASSERT_EQ(tagsOf(catalog), (QStringList{u"de-DE"_s, u"en-US"_s}));
    EXPECT_EQ(catalog.dictionaries()[0].affPath, user.filePath(u"de_DE.aff"_s));
    EXPECT_EQ(catalog.dictionaries()[1].affPath, system.filePath(u"en_US.aff"_s));
    EXPECT_TRUE(spelling::DictionaryCatalog({user.filePath(u"missing"_s)}).dictionaries().empty());
}

struct ChoiceCase {
    const char* what;
    QStringList installed; // base names
    QString asked;
    QString chosen; // empty: none
};

TEST(DictionaryCatalog, BestForPrefersTheExactTagThenTheUsualRegion)
{
    const std::vector<ChoiceCase> cases{
        {"the exact tag", {u"de_AT"_s, u"de_CH"_s, u"de_DE"_s}, u"de-CH"_s, u"de-CH"_s},
        {"the exact tag, written otherwise", {u"de_AT"_s, u"de_DE"_s}, u"DE_at"_s, u"de-AT"_s},
        {"a language alone: its own region", {u"de_AT"_s, u"de_DE"_s, u"de_LU"_s}, u"de"_s, u"de-DE"_s},
        {"English: the United States", {u"en_AU"_s, u"en_GB"_s, u"en_US"_s}, u"en"_s, u"en-US"_s},
        {"Swedish: Sweden", {u"sv_FI"_s, u"sv_SE"_s}, u"sv"_s, u"sv-SE"_s},
        {"a region not installed: the usual one", {u"pt_BR"_s, u"pt_PT"_s}, u"pt-AO"_s, u"pt-PT"_s},
        {"a region not installed and no usual one: the language alone", {u"fr"_s, u"fr_CA"_s}, u"fr-BE"_s, u"fr"_s},
        {"nothing usual: the first by tag", {u"en_GB"_s, u"en_ZA"_s}, u"en"_s, u"en-GB"_s},
        {"a script and region asked", {u"zh_CN"_s, u"zh_TW"_s}, u"zh-Hant-HK"_s, u"zh-CN"_s},
        {"another language only", {u"de_DE"_s, u"en_US"_s}, u"fr"_s, u""_s},
        {"no tag at all", {u"de_DE"_s}, u"not a tag!"_s, u""_s},
        {"an empty tag", {u"de_DE"_s}, u""_s, u""_s},
        {"no dictionaries", {}, u"de"_s, u""_s},
    };
    for (const ChoiceCase& c : cases) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        for (const QString& base : c.installed)
            makePair(folder.path(), base);
        const spelling::DictionaryCatalog catalog({folder.path()});
        const std::optional<spelling::Dictionary> chosen = catalog.bestFor(c.asked);
        EXPECT_EQ(chosen ? chosen->tag : QString(), c.chosen) << c.what;
    }
}

TEST(DictionaryCatalog, TheDefaultFoldersAreTheUsersThenTheSystems)
{
    QStandardPaths::setTestModeEnabled(true);
    const QStringList folders = spelling::defaultDictionaryFolders();
    ASSERT_FALSE(folders.isEmpty());
    EXPECT_EQ(folders.front(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/hunspell"_s);
    EXPECT_TRUE(folders.contains(u"/usr/share/hunspell"_s));
    EXPECT_EQ(folders.back(), u"/usr/share/myspell/dicts"_s);
    QStringList once = folders;
    EXPECT_EQ(once.removeDuplicates(), 0);
}

} // namespace
