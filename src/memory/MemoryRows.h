#pragma once

#include "memory/MemoryUnit.h"
#include "memory/SqliteDatabase.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>

// How the memory's database holds a unit, shared by its adds and its
// lookups: the key of a source, texts as UTF-8 with the code units beside
// them where UTF-8 cannot hold them, and the columns a unit is read from.
namespace memory::rows {

// The columns unitAt reads, before a WHERE or JOIN of the query's own.
extern const char* const UnitColumns;

// FNV-1a over the code units: the same hash on every machine and in every
// version, unlike qHash, so the database can keep it.
[[nodiscard]] std::int64_t sourceKey(QStringView text);
// Whether text holds a surrogate that is not half of a pair, which UTF-8
// cannot hold.
[[nodiscard]] bool hasLoneSurrogate(QStringView text);
// Binds text as UTF-8 at textIndex, and its code units at unitsIndex when
// it holds a lone surrogate (NULL otherwise).
void bindText(SqliteStatement& statement, int textIndex, int unitsIndex, const QString& text, const QByteArray& utf8);
// The text bound so, read back exactly.
[[nodiscard]] QString textAt(const SqliteStatement& statement, int textColumn, int unitsColumn);
// A row of UnitColumns as a unit.
[[nodiscard]] MemoryUnit unitAt(const SqliteStatement& row);
// A word as an FTS5 query names it: in double quotes, its own doubled.
[[nodiscard]] QString quotedTerm(const QString& word);

} // namespace memory::rows
