#include "exchange/ImportedReview.h"

#include "text/LineBreaks.h"

namespace exchange {

review::EntryReview importedReview(const review::EntryReview& before, const bool sourceChanged,
    const AcceptedAgainst& acceptedAgainst, const ReviewSaid& said)
{
    using review::State;
    review::EntryReview after = before;
    const bool wantsLook = before.state == State::NeedsReview || sourceChanged;
    const auto take = [&](const State state) {
        after.state = state;
        if (state == State::Translated || state == State::Approved || sourceChanged)
            after.snapshot = acceptedAgainst();
    };
    if (said.unfinished || said.state == State::NeedsReview) {
        if (!wantsLook)
            after.state = State::NeedsReview;
    } else if (said.state) {
        if (*said.state != before.state || wantsLook)
            take(*said.state);
    } else if (said.finished && wantsLook) {
        take(State::Translated);
    }
    if (said.note && !text::equalUpToLineBreaks(*said.note, before.note, text::LineBreakSet::CrLf))
        after.note = *said.note;
    // The source a translation that wants review was made from, as the file
    // keeps it, is the snapshot the reference pane shows the change from.
    if (said.previousSource && (said.unfinished || said.state == State::NeedsReview))
        after.snapshot = *said.previousSource;
    return after;
}

} // namespace exchange
