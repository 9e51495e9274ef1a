#include "xom/FileErrors.h"
#include "xom/LanguageFileWriter.h"

#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <utility>
#include <vector>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(SaveFailure, MissingFolderCannotBeCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/lang.xom"));
    try {
        xom::writeLanguageFile(path, QByteArray("data"));
        FAIL() << "no error";
    } catch (const xom::FileCreateError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot create file ") + path);
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SaveFailure, WriteCutShortLeavesThePreviousFileWhole)
{
    // The image written at once, and a save that writes the file as it goes.
    const QByteArray image(200000, 'n');
    const xom::EntryTable entries = testsupport::syntheticEntries(5000);
    const std::vector<std::pair<const char*, std::function<void(const QString&)>>> writers{
        {"writeLanguageFile", [&](const QString& path) { xom::writeLanguageFile(path, image); }},
        {"saveLanguageFile",
            [&](const QString& path) {
                xom::LanguageModel model = testsupport::modelForEntries(entries);
                xom::saveLanguageFile(path, entries, model);
            }},
    };
    for (const auto& [name, write] : writers) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lang_en.xom"));
        const QByteArray previous(3000, 'p');
        writeAll(path, previous);

        // A file size limit makes the write stop part way; the child reports
        // what it caught through its exit code.
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{65536, 65536};
            setrlimit(RLIMIT_FSIZE, &limit);
            int code = 1;
            try {
                write(path);
            } catch (const xom::StreamWriteError&) {
                code = 42;
            } catch (...) {
                code = 2;
            }
            _exit(code);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << name;
        EXPECT_EQ(WEXITSTATUS(status), 42) << name;
        EXPECT_EQ(readAll(path), previous) << name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("lang_en.xom")}) << name;
    }
}

TEST(SaveFailure, SuccessfulSaveReplacesTheFileAndRecordsItsSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang.xom"));
    writeAll(path, QByteArray(50, 'o'));
    const xom::EntryTable entries = testsupport::syntheticEntries(20);
    xom::LanguageModel model = testsupport::modelForEntries(entries);
    std::vector<int> positions;
    xom::saveLanguageFile(path, entries, model, [&](const int p) { positions.push_back(p); });
    const QByteArray written = readAll(path);
    EXPECT_EQ(model.FileSize, written.size());
    EXPECT_EQ(written.left(4), "MOIK");
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back(), 100);
}

} // namespace
