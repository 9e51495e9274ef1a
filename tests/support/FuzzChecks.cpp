#include "support/FuzzChecks.h"

#include "xom/LanguageFileReader.h"
#include "xom/LanguageFileWriter.h"

#include "text/EditorError.h"

#include <QByteArray>

#include <algorithm>
#include <optional>

namespace testsupport {

namespace {

std::optional<xom::LoadedFile> load(const QByteArray& bytes)
{
    auto result = xom::loadLanguageFile(bytes);
    if (auto* file = std::get_if<xom::LoadedFile>(&result))
        return std::move(*file);
    return std::nullopt;
}

xom::EntryTable cutAtNul(xom::EntryTable table)
{
    for (xom::Entry& e : table.rows) {
        for (QString* cell : {&e.name, &e.text}) {
            const qsizetype nul = cell->indexOf(QChar(u'\0'));
            if (nul >= 0)
                cell->truncate(nul);
        }
    }
    return table;
}

} // namespace

void checkLoad(const QByteArrayView bytes, const FuzzFailure& fail)
{
    // A copy of its own, so that a read past the end is a read past the
    // allocation.
    const auto file = load(bytes.toByteArray());
    if (!file)
        return;
    if (file->model.StringList.count() < 1 || !file->model.StringList.get(0).isEmpty())
        fail("the string list does not start with the empty string");
    for (const xom::Entry& entry : file->entries.rows) {
        if (entry.number.isEmpty() || !entry.mark.isEmpty())
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
    try {
        image = xom::buildLanguageImage(first->entries, model);
    } catch (const text::EditorError&) {
        return; // numbers that are not 1 .. n, or no string to keep
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
    const auto hasNul = [](const QString& s) { return s.contains(QChar(u'\0')); };
    const bool nulFree = !hasNul(first->model.StringList.get(1))
                      && std::none_of(first->entries.rows.begin(), first->entries.rows.end(),
                          [&](const xom::Entry& e) { return hasNul(e.name) || hasNul(e.text); });
    xom::LanguageModel again = second->model;
    if (nulFree && xom::buildLanguageImage(second->entries, again) != image)
        fail("saving the reloaded file gives other bytes");
}

} // namespace testsupport
