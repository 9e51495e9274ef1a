#include "support/FuzzChecks.h"

#include "support/FileBuilder.h"

#include "exchange/ExchangeImport.h"
#include "exchange/ImportError.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include "text/EditorError.h"

#include <QByteArray>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace testsupport {

void failFuzzing(const char* const what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

namespace {

std::optional<xom::LoadedFile> load(const QByteArray& bytes)
{
    auto result = xom::loadLanguageFile(bytes);
    if (auto* file = std::get_if<xom::LoadedFile>(&result))
        return std::move(*file);
    return std::nullopt;
}

xom::EntryTable cutAtNul(const xom::EntryTable& table)
{
    std::vector<xom::Entry> entries = table.entries();
    for (xom::Entry& e : entries) {
        for (QString* cell : {&e.name, &e.text}) {
            const qsizetype nul = cell->indexOf(QChar(u'\0'));
            if (nul >= 0)
                cell->truncate(nul);
        }
    }
    return xom::EntryTable::fromEntries(entries);
}

} // namespace

void checkLoad(const QByteArrayView bytes, const FuzzFailure& fail)
{
    // A copy of its own, so that a read past the end is a read past the
    // allocation.
    const auto file = load(bytes.toByteArray());
    if (!file)
        return;
    if (file->model.StringList.count < 1)
        fail("the string list does not start with the empty string");
    const xom::EntryTable& entries = file->entries;
    for (int row = 0; row < entries.entryCount(); ++row) {
        if (entries.number(row).isEmpty() || !entries.mark(row).isEmpty())
            fail("a loaded row without its number or with a mark");
    }
}

void checkRoundTrip(const QByteArrayView bytes, const FuzzFailure& fail)
{
    const auto first = load(bytes.toByteArray());
    if (!first)
        return;
    xom::LanguageModel model = first->model;
    QByteArray image;
    // Every file the loader takes can be saved: it refuses the others.
    try {
        image = xom::buildLanguageImage(first->entries, model);
    } catch (const text::EditorError&) {
        fail("a file that loads cannot be saved");
        return;
    }
    const auto second = load(image);
    if (!second) {
        fail("a saved file does not load");
        return;
    }
    if (second->entries != cutAtNul(first->entries))
        fail("a saved file loads with other entries");
    if (second->model.TypeTable != first->model.TypeTable)
        fail("a saved file loads with another type table");
    // A U+0000 ends its string in the file, so only texts without one come
    // back whole and save to the same bytes again.
    const auto hasNul = [](const QStringView s) { return s.contains(QChar(u'\0')); };
    const xom::EntryTable& entries = first->entries;
    bool nulFree = !hasNul(first->model.StringList.second);
    for (int row = 0; row < entries.entryCount() && nulFree; ++row)
        nulFree = !hasNul(entries.name(row)) && !hasNul(entries.text(row));
    xom::LanguageModel again = second->model;
    if (nulFree && xom::buildLanguageImage(second->entries, again) != image)
        fail("saving the reloaded file gives other bytes");
}

QByteArray importBaseFile()
{
    std::vector<std::pair<QString, QString>> entries;
    for (int k = 1; k <= 24; ++k)
        entries.emplace_back(QStringLiteral("FE.Entry%1").arg(k), QStringLiteral("Text %1\r\nline").arg(k));
    return simpleFile(entries).bytes();
}

void checkImport(const QByteArrayView bytes, const exchange::ExchangeFormat format, const FuzzFailure& fail)
{
    static const std::optional<xom::LoadedFile> base = load(importBaseFile());
    if (!base) {
        fail("the base file does not load");
        return;
    }
    xom::EntryTable entries = base->entries;
    xom::LanguageModel model = base->model;
    // A copy of its own, so that a read past the end is a read past the
    // allocation.
    const QByteArray input = bytes.toByteArray();
    exchange::ImportOptions options;
    options.report = true;
    exchange::ImportOutcome outcome;
    try {
        outcome = exchange::importExchangeFile(entries, model, input, format, options);
    } catch (const exchange::ImportError&) {
        return;
    }
    const exchange::ImportSummary& s = outcome.summary;
    const int before = base->entries.entryCount();
    if (s.changed + s.unchanged + s.notInFile > before || s.renamed > s.changed)
        fail("the summary counts more entries than the file had");
    if (s.added != entries.entryCount() - before)
        fail("the summary counts other entries added than there are");
    if (outcome.report.size() != static_cast<std::size_t>(s.changed + s.added))
        fail("the report lists other entries than the summary counts");
    QByteArray image;
    try {
        image = xom::buildLanguageImage(entries, model);
    } catch (const text::EditorError&) {
        fail("an import leaves entries that cannot be saved");
        return;
    }
    const auto again = load(image);
    if (!again || again->entries != cutAtNul(entries))
        fail("an import's entries do not come back from a save");
}

} // namespace testsupport
