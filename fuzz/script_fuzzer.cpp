// Arbitrary bytes read as a script of a translator's steps and made on a
// small document: a script is either refused at a line or run, and whatever
// it ran, undoing every step gives the loaded bytes back and redoing them
// the bytes it made.
#include "document/Document.h"
#include "document/EditScript.h"

#include "exchange/ImportError.h"
#include "support/RandomEntries.h"
#include "text/EditorError.h"

#include <QDir>

#include "support/FuzzChecks.h"

#include <random>

using testsupport::failFuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<document::ScriptStep> steps;
    try {
        steps = document::parseEditScript(QByteArrayView(data, static_cast<qsizetype>(size)));
    } catch (const document::ScriptError& error) {
        if (error.line() < 1)
            failFuzzing("a refused script names no line");
        return 0;
    }
    std::mt19937 random(7);
    document::Document document;
    document.open(testsupport::randomLoadedFile(random, 12), QStringLiteral("lang_fuzz.xom"));
    const QByteArray loaded = document.image();
    // No file is beside an empty folder: every import is refused.
    try {
        document::runEditScript(document, steps, QDir(QStringLiteral("/nonexistent-ludra-fuzz")));
    } catch (const document::ScriptError&) {
    } catch (const text::EditorError&) {
        // A save's own refusal (an entry number that is no number) is not
        // reached here: images are built below only from whole steps.
    }
    QByteArray made;
    try {
        made = document.image();
    } catch (const text::EditorError&) {
        return 0; // texts a save cannot write, as the window would say
    }
    const int done = document.history().index();
    for (int step = 0; step < done; ++step)
        document.undo();
    if (document.image() != loaded)
        failFuzzing("undoing every step did not give the loaded bytes");
    for (int step = 0; step < done; ++step)
        document.redo();
    if (document.image() != made)
        failFuzzing("redoing every step did not give the same bytes");
    return 0;
}
