#pragma once

#include <QString>

#include <vector>

namespace review {

// A piece of a word-level difference from an old text to a new one.
struct DiffPart {
    enum class Kind { Same, Deleted, Inserted };
    Kind kind = Kind::Same;
    QString text;

    friend bool operator==(const DiffPart&, const DiffPart&) = default;
};

// The difference from before to after word by word: words, runs of spaces
// and single other characters are the units, the longest run of common
// units is kept, and the rest is deleted from before and inserted from
// after (deletions first where both stand at one place). Joining the Same
// and Deleted parts gives before; the Same and Inserted parts give after.
// Texts of more than a few thousand units each are told as deleted whole
// and inserted whole, so that the work stays small.
[[nodiscard]] std::vector<DiffPart> wordDiff(const QString& before, const QString& after);

} // namespace review
