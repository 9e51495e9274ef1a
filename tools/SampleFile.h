#pragma once

#include "xom/EntryTable.h"
#include "xom/LanguageModel.h"

namespace cli {

// The sample language file that a new user can open at once: a file with no
// entries (the four types, XStringResourceDetails before XDataBank, and the
// string list of the empty string and one kept string) to which a dozen
// entries were added as the editor's Add adds them. Every name and text is
// the project's own.
struct SampleFile {
    xom::LanguageModel model;
    xom::EntryTable entries;
};

[[nodiscard]] SampleFile makeSampleFile();

// Its German translation, to open beside it as the reference: most entries
// translated, the same names in another order, one text left as the
// reference has it ("Options"), and one entry the reference lacks, so that
// the checks have something to show.
[[nodiscard]] SampleFile makeSampleTranslation();

} // namespace cli
