#pragma once

#include "recovery/JournalFolder.h"

#include <QString>

namespace recovery {

// What became of the file a left journal began on.
struct RecordedBase {
    enum class State {
        AsRecorded, // the same size, time and (when the journal knows it) hash
        Changed,    // another file now stands at the path
        Missing,
    };
    State state = State::Missing;
    // The copy of the recorded bytes the journal holds, checked against
    // their hash; empty when there is none whole.
    QString copyPath;
};

[[nodiscard]] RecordedBase checkRecordedBase(const LeftJournal& left);

} // namespace recovery
