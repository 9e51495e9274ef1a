#pragma once

#include "exchange/EntryImport.h"

#include "review/ReviewFile.h"

#include <QString>

#include <functional>
#include <optional>

namespace exchange {

// The snapshot an acceptance of an entry keeps now: the reference's text,
// or the snapshot as it is when no reference is open. Asked only when an
// entry is accepted.
using AcceptedAgainst = std::function<std::optional<QString>()>;

// The review an entry takes from what a record said of it. before is the
// entry's review and sourceChanged whether its reference text is no longer
// the one its translation was accepted against.
//
// Export writes "needs review" for an entry that needs review or whose
// source changed, so an entry that wants a look already stays as it is
// when the file says it needs one, and takes NeedsReview otherwise. A state
// the file names is taken (an entry whose source changed takes it even
// when it is the same, for the translator looked again); a finished
// translation without a named state (a PO message not fuzzy) makes an
// entry that wanted a look translated and leaves any other as it is. An
// entry made translated or approved, or taken as it is after its source
// changed, is accepted against the reference now. A note is taken unless
// it equals the entry's up to the form of its line breaks, which PO
// comments cannot keep. The previous source a file keeps for a
// translation it says needs review becomes the snapshot.
//
// So a file exported and imported unchanged changes no review.
[[nodiscard]] review::EntryReview importedReview(const review::EntryReview& before, bool sourceChanged,
    const AcceptedAgainst& acceptedAgainst, const ReviewSaid& said);

} // namespace exchange
