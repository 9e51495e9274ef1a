#pragma once

#include "exchange/EntryImport.h"
#include "exchange/ExchangeFormat.h"

#include "xom/EntryTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace exchange {

// A gettext catalog of the entries, one message per entry in grid order:
//
//   msgctxt "12 FE.Menu.Start"     the entry's number, a space, its name
//   msgid "Start"                  the reference text, or the entry's own
//   msgstr "Start"                 the entry's text
//
// after a header entry naming the project (Project-Id-Version), the target
// language (Language) and the generator, and declaring "Content-Type:
// text/plain; charset=UTF-8". Strings are C-escaped as gettext writes them
// (\\ \" \n \r \t \a \b \f \v, other control codes as three octal
// digits), a string holding a line feed is split after each one. Every
// text survives exactly, line breaks included; a lone surrogate, which
// UTF-8 cannot carry, takes its three-byte form as in CSV.
//
// No message has an empty msgid, which gettext keeps for the header: an
// entry whose source is empty gets the comment EmptySourceComment and the
// msgid EmptySourceMark, which import does not read.
//
// With the entries' reviews in the context, an entry's note comes first as
// translator comments ("# " and a line of the note), an entry that needs
// review is flagged "#, fuzzy", and the source its translation was accepted
// against, where it is not the msgid, is the previous msgid ("#| msgid"),
// as msgmerge writes them.
[[nodiscard]] QByteArray poOfEntries(const xom::EntryTable& entries, const ExportContext& context);

inline constexpr const char* EmptySourceComment = "The source text is empty.";
inline constexpr const char* EmptySourceMark = "(empty)";

// Applies a gettext catalog through import: each message with a context
// "NUMBER NAME" is a record for that number with that name, its msgstr the
// text; an empty msgstr keeps the entry's text. A message flagged fuzzy is
// unfinished, any other with a msgstr finished, and its translator
// comments, joined by LF, are its note (see ReviewSaid). Other comments
// (previous and obsolete messages among them) are skipped; strings may be
// continued on the following lines. Throws ImportError at the line of a message without a
// context of that form, a plural message, a malformed line or string, a
// NUL, bytes that are not UTF-8 (translator comments too), a header
// declaring another charset, lines that end in CR alone, and what import
// refuses; a message quotes at most 80 characters of the file.
void applyPoEdits(QByteArrayView po, EntryImport& import);

} // namespace exchange
