#include "xom/WholeFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using Status = xom::WholeFile::Status;

// Every outcome of a read, each from the file it names in a folder that
// holds an eleven-byte file, a large file, an empty file and a subfolder.
TEST(WholeFile, ReadsOnlyWholeRegularFilesWithinTheLimit)
{
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray eleven("MOIK\0\x01\x02xyz\xFF", 11);
    // Large enough to be read in two halves at once, and of an odd size.
    QByteArray large(5 * 1024 * 1024 + 3, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>((i * 7919) >> 8);
    {
        QFile file(folder.filePath(QStringLiteral("eleven")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(eleven), eleven.size());
        QFile largeFile(folder.filePath(QStringLiteral("large")));
        ASSERT_TRUE(largeFile.open(QIODevice::WriteOnly));
        ASSERT_EQ(largeFile.write(large), large.size());
        QFile empty(folder.filePath(QStringLiteral("empty")));
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder")));

    const struct {
        const char* name;
        qint64 largest;
        Status status;
        QByteArray bytes;
    } rows[] = {
        {"eleven", xom::largestLanguageFile, Status::Read, eleven},
        {"eleven", 11, Status::Read, eleven},
        {"eleven", 10, Status::TooLarge, {}},
        {"empty", 0, Status::Read, {}},
        {"large", xom::largestLanguageFile, Status::Read, large},
        {"missing", xom::largestLanguageFile, Status::Missing, {}},
        {"folder", xom::largestLanguageFile, Status::Missing, {}},
    };
    for (const auto& row : rows) {
        const xom::WholeFile file = xom::readWholeFile(folder.filePath(QString::fromLatin1(row.name)), row.largest);
        EXPECT_EQ(file.status, row.status) << row.name << " within " << row.largest;
        EXPECT_EQ(file.bytes, row.bytes) << row.name << " within " << row.largest;
    }
}

} // namespace
