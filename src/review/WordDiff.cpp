#include "review/WordDiff.h"

#include <QStringView>

#include <algorithm>

namespace review {

namespace {

// Beyond this many units on both sides the table of common runs would take
// tens of megabytes: the texts are told as changed whole.
constexpr std::size_t largestTable = 4'000'000;

// Words (letters, digits and marks), runs of white space, and any other
// character on its own; a surrogate pair stays whole.
std::vector<QStringView> unitsOf(const QString& text)
{
    std::vector<QStringView> units;
    const QStringView view(text);
    const auto kindOf = [](const QChar c) {
        if (c.isLetterOrNumber() || c.isMark() || c.isSurrogate())
            return 0;
        return c.isSpace() ? 1 : 2;
    };
    qsizetype start = 0;
    while (start < view.size()) {
        const int kind = kindOf(view[start]);
        qsizetype end = start + 1;
        if (kind != 2) {
            while (end < view.size() && kindOf(view[end]) == kind)
                ++end;
        }
        units.push_back(view.sliced(start, end - start));
        start = end;
    }
    return units;
}

void append(std::vector<DiffPart>& parts, const DiffPart::Kind kind, const QStringView text)
{
    if (!parts.empty() && parts.back().kind == kind)
        parts.back().text += text;
    else
        parts.push_back({kind, text.toString()});
}

} // namespace

std::vector<DiffPart> wordDiff(const QString& before, const QString& after)
{
    std::vector<DiffPart> parts;
    const std::vector<QStringView> a = unitsOf(before);
    const std::vector<QStringView> b = unitsOf(after);
    if ((a.size() + 1) * (b.size() + 1) > largestTable) {
        if (!before.isEmpty())
            parts.push_back({DiffPart::Kind::Deleted, before});
        if (!after.isEmpty())
            parts.push_back({DiffPart::Kind::Inserted, after});
        return parts;
    }
    // common[i][j]: the longest common run of units of a from i and b from
    // j, filled from the ends.
    const std::size_t columns = b.size() + 1;
    std::vector<int> common((a.size() + 1) * columns, 0);
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;) {
            common[i * columns + j] = a[i] == b[j]
                                        ? common[(i + 1) * columns + j + 1] + 1
                                        : std::max(common[(i + 1) * columns + j], common[i * columns + j + 1]);
        }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            append(parts, DiffPart::Kind::Same, a[i]);
            ++i;
            ++j;
        } else if (j == b.size() || (i < a.size() && common[(i + 1) * columns + j] >= common[i * columns + j + 1])) {
            append(parts, DiffPart::Kind::Deleted, a[i]);
            ++i;
        } else {
            append(parts, DiffPart::Kind::Inserted, b[j]);
            ++j;
        }
    }
    return parts;
}

} // namespace review
