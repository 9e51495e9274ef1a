#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace spelling {

// A personal word list is a text file of words the translator taught the
// checker, one a line, in UTF-8, sorted by UTF-16 code units without
// duplicates: sorting keeps the file the same whatever the order words
// were added in, so that a list kept under version control or merged by
// hand differs only where words differ.

// The longest word a list holds, in UTF-16 code units; Hunspell itself
// judges no word longer than a hundred bytes.
inline constexpr qsizetype MaxPersonalWordLength = 100;

// Whether a list can hold a word and read it back the same: not empty, at
// most MaxPersonalWordLength long, with no white space at either end and
// no control character (line breaks, NUL) anywhere.
[[nodiscard]] bool isPersonalWord(QStringView word);

// The words of a list's bytes, sorted and without duplicates. A damaged
// list loses only what cannot be a word: a line is ended by LF, CR or NUL
// (a list cut short by a crash may end in NULs); a line that is not valid
// UTF-8 is read as Latin-1 (edited in an 8-bit editor); a UTF-8 byte order
// mark is skipped; each line is trimmed, and a line that is then no
// personal word (empty, too long, holding control characters) is left out.
[[nodiscard]] QStringList readPersonalWords(QByteArrayView bytes);

// The bytes of a list of words: each of `words` that is a personal word,
// sorted, without duplicates, each followed by LF.
[[nodiscard]] QByteArray personalWordsBytes(const QStringList& words);

// The words of the list at path; none when the file is missing or cannot
// be read.
[[nodiscard]] QStringList readPersonalWordsFile(const QString& path);

// Where a language's personal list is kept when nothing else is said:
// "<user config>/ludra-language-editor/spelling/<tag>.dic", tag as
// given ("de-DE"). Shared by the editor and ludra-lang.
[[nodiscard]] QString personalWordListPath(QStringView tag);

} // namespace spelling
