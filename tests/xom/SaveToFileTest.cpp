// A save to disk writes the file in runs as it goes, never holding the whole
// image: its bytes must be exactly the image's, for every shape of file and
// on every path the writer takes.
#include "xom/FileErrors.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include "support/FileBuilder.h"
#include "support/RandomEntries.h"

#include "text/EditorError.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <random>
#include <string>
#include <variant>

namespace {

// The files a bytes load gives: none when it is refused.
std::vector<xom::LoadedFile> loaded(const QByteArray& bytes)
{
    auto result = xom::loadLanguageFile(bytes);
    if (auto* const file = std::get_if<xom::LoadedFile>(&result))
        return {std::move(*file)};
    return {};
}

// A table as a load of a file holding it would leave it.
std::vector<xom::LoadedFile> asLoaded(xom::EntryTable entries)
{
    xom::LanguageModel model = testsupport::modelForEntries(entries);
    return {{std::move(model), std::move(entries), {}}};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Case {
    std::string name;
    std::function<std::vector<xom::LoadedFile>()> make;
};

std::vector<Case> cases()
{
    return {
        {"random texts, accents, emoji and lone surrogates",
            [] {
                std::mt19937 random(17);
                testsupport::TextMix mix;
                mix.loneSurrogates = true;
                return asLoaded(testsupport::randomEntries(random, 400, mix));
            }},
        {"every shape of type table: carried containers and empty runs",
            [] {
                std::vector<xom::LoadedFile> files;
                const std::vector<std::pair<QString, QString>> pairs{{QStringLiteral("FE.A"), QStringLiteral("alpha")},
                    {QStringLiteral("FE.B"), QStringLiteral("beta")}};
                for (const auto& types : testsupport::typeTableShapes()) {
                    for (xom::LoadedFile& file : loaded(testsupport::fileWithTypes(types, pairs).bytes())) {
                        if (file.model.StringList.count >= 2)
                            files.push_back(std::move(file));
                    }
                }
                return files;
            }},
        {"texts longer than a run's buffer",
            [] {
                xom::EntryTable entries = testsupport::syntheticEntries(40);
                entries.setCell(3, xom::TextColumn, QString(700'000, QChar(u'é')));
                entries.setCell(9, xom::NameColumn, QString(1'500'000, QChar(u'x')));
                entries.setCell(20, xom::TextColumn, QString(500'000, QChar(u'\u20AC')));
                return asLoaded(std::move(entries));
            }},
        {"a large saved file in its loaded order, edited and added to",
            [] {
                xom::LoadedFile first = loaded(testsupport::syntheticFileBytes(70'000)).at(0);
                std::vector<xom::LoadedFile> files = loaded(xom::buildLanguageImage(first.entries, first.model));
                xom::EntryTable& entries = files.at(0).entries;
                entries.setCell(5, xom::TextColumn, QStringLiteral("Édité"));
                entries.setCell(60'000, xom::NameColumn, QStringLiteral("AAA.First"));
                entries.append({QString(), QStringLiteral("70001"), QStringLiteral("FE.New"), QStringLiteral("new")});
                return files;
            }},
        {"a large file whose data must be sorted anew", [] { return loaded(testsupport::syntheticFileBytes(70'000)); }},
    };
}

TEST(SaveToFile, WritesTheImageBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang.xom"));
    for (const Case& row : cases()) {
        const std::vector<xom::LoadedFile> files = row.make();
        ASSERT_FALSE(files.empty()) << row.name;
        for (std::size_t f = 0; f < files.size(); ++f) {
            const xom::LoadedFile& file = files[f];
            xom::LanguageModel forImage = file.model;
            const QByteArray image = xom::buildLanguageImage(file.entries, forImage);
            xom::LanguageModel forFile = file.model;
            xom::saveLanguageFile(path, file.entries, forFile);
            const QByteArray written = readAll(path);
            ASSERT_EQ(written.size(), image.size()) << row.name << ", file " << f;
            EXPECT_TRUE(written == image) << row.name << ", file " << f;
            EXPECT_EQ(forFile.FileSize, written.size()) << row.name;
            EXPECT_EQ(forFile.StringList, forImage.StringList) << row.name;
        }
    }
}

TEST(SaveToFile, AMissingNumberStopsTheSaveBeforeTheFileIsCreated)
{
    QTemporaryDir dir;
    xom::EntryTable entries = testsupport::syntheticEntries(10);
    entries.setCell(4, xom::NumberColumn, QStringLiteral("12"));
    for (const QString& path :
        {dir.filePath(QStringLiteral("lang.xom")), dir.filePath(QStringLiteral("missing/lang.xom"))}) {
        xom::LanguageModel model = testsupport::modelForEntries(entries);
        EXPECT_THROW(xom::saveLanguageFile(path, entries, model), text::ListIndexError) << path.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
}

} // namespace
