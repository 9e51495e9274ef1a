#pragma once

#include "exchange/ExchangeFormat.h"

#include <QByteArrayView>

#include <functional>

// The properties that fuzzing checks on arbitrary bytes, shared by the fuzz
// targets and by the regression test that replays the files they found.
namespace testsupport {

// Called with a description when a property does not hold.
using FuzzFailure = std::function<void(const char* what)>;

// A fuzz target's failure: the description on standard error, then an
// abort, whose input libFuzzer keeps.
[[noreturn]] void failFuzzing(const char* what);

// Loading never reads outside the bytes (the sanitizers watch that) and a
// load that succeeds gives a consistent model: one row per data bank entry,
// every row numbered, a string list that starts with the empty string.
void checkLoad(QByteArrayView bytes, const FuzzFailure& fail);

// When the bytes load, whatever their type table, the entries can be saved,
// and saving and loading again gives the same entries (texts cut at U+0000)
// and type table, and, when no text holds a U+0000, saving that gives the
// same bytes.
void checkRoundTrip(QByteArrayView bytes, const FuzzFailure& fail);

// Arbitrary bytes read as an exchange file of that format into a file of
// twenty-four entries: the import either refuses them or gives entries that
// its summary counts whole (each entry changed, unchanged or not in
// the file; the rest added), and that save and load again unchanged.
void checkImport(QByteArrayView bytes, exchange::ExchangeFormat format, const FuzzFailure& fail);

// The language file checkImport reads into, for seeds that name its
// entries.
[[nodiscard]] QByteArray importBaseFile();

} // namespace testsupport
