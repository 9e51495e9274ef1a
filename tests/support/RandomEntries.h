#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageFileReader.h"
#include "xom/LanguageModel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <random>

namespace testsupport {

// What random texts may hold besides printable ASCII.
struct TextMix {
    bool accents = true;         // é, Ā, ő, ß ...
    bool outsideCodePage = true; // Cyrillic, CJK
    bool emoji = true;           // surrogate pairs
    bool loneSurrogates = false;
    bool controlCodes = false; // U+0001 .. U+001F, CR LF included
    bool nul = false;          // U+0000
};

[[nodiscard]] QString randomText(std::mt19937& random, int maxLength, const TextMix& mix = {});

// count entries numbered 1 .. count in a random grid order, with repeated and
// empty names and texts among them, and some marks.
[[nodiscard]] xom::EntryTable randomEntries(std::mt19937& random, int count, const TextMix& mix = {});

// A model as a load of a file with these entries leaves it: the usual four
// types, the string resource count equal to the entry count, and a string
// list of the empty string, keptString, then the entries' texts and names.
[[nodiscard]] xom::LanguageModel modelForEntries(
    const xom::EntryTable& entries, const QString& keptString = QStringLiteral("Kept"));

// A file as a load of randomEntries(random, count) and its model leaves it,
// to open in a document.
[[nodiscard]] xom::LoadedFile randomLoadedFile(std::mt19937& random, int count);

// Every cell of table, row by row: two tables compared by their texts.
[[nodiscard]] QStringList cellsOf(const xom::EntryTable& table);

// Deterministic large grids for benchmarks: every name and text distinct,
// names "FE.Str" plus a number in scrambled order, texts of a few words.
[[nodiscard]] xom::EntryTable syntheticEntries(int count);
// The bytes of a well-formed file holding syntheticEntries(count).
[[nodiscard]] QByteArray syntheticFileBytes(int count);
// Like syntheticEntries, but the texts are Cyrillic and CJK words and a
// number below 100: in code page 1252 most of their letters image to '?', so
// many texts image alike and a save must order its strings by the exact
// quicksort. Names stay distinct ASCII.
[[nodiscard]] xom::EntryTable alikeImagesEntries(int count);
// The bytes of a well-formed file holding alikeImagesEntries(count).
[[nodiscard]] QByteArray alikeImagesFileBytes(int count);

} // namespace testsupport
