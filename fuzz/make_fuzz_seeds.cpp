// Writes the fuzzers' seed corpus: small valid files made by the editor's
// own writer, a few hand-laid variants of the layout, and files whose type
// tables are named and ordered in other ways.
#include "xom/LanguageFileWriter.h"

#include "support/FileBuilder.h"
#include "support/RandomEntries.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <random>

namespace {

bool writeSeed(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    std::mt19937 random(1);
    testsupport::TextMix mix;
    mix.controlCodes = true;
    mix.loneSurrogates = true;
    bool ok = true;
    for (int i = 0; i < 8; ++i) {
        const xom::EntryTable entries = testsupport::randomEntries(random, i * 3, mix);
        xom::LanguageModel model = testsupport::modelForEntries(entries);
        ok &= writeSeed(dir, QStringLiteral("saved%1.xom").arg(i), xom::buildLanguageImage(entries, model));
    }
    testsupport::RawFile oneChunk = testsupport::simpleFile({{QStringLiteral("FE.A"), QStringLiteral("a")}});
    oneChunk.chunksBeforeStrings = 1;
    ok &= writeSeed(dir, QStringLiteral("one-chunk.xom"), oneChunk.bytes());
    testsupport::RawFile carried = testsupport::simpleFile({{QStringLiteral("FE.B"), QStringLiteral("b")}}, {1, 0, 1});
    carried.types[0].instanceCount = 1;
    carried.containers.insert(carried.containers.begin(), QByteArray("CTNRopaque"));
    ok &= writeSeed(dir, QStringLiteral("carried.xom"), carried.bytes());
    // Type tables named and ordered in other ways, each type's containers
    // following its count.
    const std::vector<std::pair<QString, QString>> pairs{
        {QStringLiteral("FE.A"), QStringLiteral("a")}, {QStringLiteral("FE.B"), QStringLiteral("b")}};
    const auto shapes = testsupport::typeTableShapes();
    for (std::size_t i = 0; i < shapes.size(); ++i)
        ok &= writeSeed(
            dir, QStringLiteral("types%1.xom").arg(i), testsupport::fileWithTypes(shapes[i], pairs).bytes());
    return ok ? 0 : 1;
}
