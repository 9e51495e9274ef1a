#pragma once

#include "text/CaseFolding.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace text {

// How a search text is compared with a cell.
enum class MatchMode {
    Contains,          // anywhere in the cell, every occurrence
    StartsWith,        // at the cell's start only
    WholeText,         // the whole cell and nothing else
    RegularExpression, // the search text is a pattern; every match
};

struct MatchOptions {
    QString pattern;
    MatchMode mode = MatchMode::Contains;
    // Off: texts are compared through their simple case folding under the
    // run's locale (see CaseFolding.h); a regular expression matches
    // case-insensitively by its own Unicode rules.
    bool matchCase = false;
};

// One match in a cell: its units [start, start + length). captures holds a
// regular expression's whole match and groups (group 0 first), and nothing
// in the other modes.
struct TextMatch {
    qsizetype start = 0;
    qsizetype length = 0;
    QStringList captures;
};

// Finds the matches of one search in texts. Line breaks are ordinary
// characters: a search text holding one matches only that line break, and a
// replacement leaves every other unit of the text as it was. An empty
// pattern, or a regular expression that does not compile, matches nothing.
//
// Folding buffers are kept between calls: a matcher serves one thread.
class TextMatcher {
public:
    explicit TextMatcher(MatchOptions options);

    [[nodiscard]] const MatchOptions& options() const noexcept { return m_options; }
    // False when the pattern is a regular expression that does not compile.
    [[nodiscard]] bool isValid() const noexcept { return m_errorText.isEmpty(); }
    // Why the pattern does not compile, for the user; empty when it does.
    [[nodiscard]] const QString& errorText() const noexcept { return m_errorText; }
    // True when no text can match: an empty or invalid pattern.
    [[nodiscard]] bool findsNothing() const noexcept { return m_findsNothing; }

    // The first match that starts at or after from, a code point boundary.
    [[nodiscard]] std::optional<TextMatch> matchFrom(const QString& text, qsizetype from) const;
    // The match that starts exactly at start, if there is one. A regular
    // expression still sees the text before start (lookbehind, \b).
    [[nodiscard]] std::optional<TextMatch> matchAt(const QString& text, qsizetype start) const;
    // Every match, left to right and not overlapping.
    [[nodiscard]] std::vector<TextMatch> allMatches(const QString& text) const;
    // How many matches allMatches would give.
    [[nodiscard]] int countIn(const QString& text) const;

    // What replaces match: replacement itself, or for a regular expression
    // replacement with \0 .. \9 standing for the whole match and its groups
    // (empty for a group that took no part) and \\ for one backslash. A
    // backslash before anything else, or before the number of a group the
    // pattern does not have, is kept as it is.
    [[nodiscard]] QString replacementFor(const TextMatch& match, const QString& replacement) const;

    // text with every match replaced; sets count to the number of matches.
    [[nodiscard]] QString replaceAllIn(const QString& text, const QString& replacement, int& count) const;

private:
    // The units the literal modes compare: text itself with Match case on,
    // otherwise its folding, which has the same length.
    [[nodiscard]] std::u16string_view comparable(QStringView text) const;
    // Where the needle first occurs in units (comparable's) at or after
    // from; -1 if nowhere.
    [[nodiscard]] qsizetype findNeedle(std::u16string_view units, qsizetype from) const;
    [[nodiscard]] std::optional<TextMatch> literalMatchFrom(const QString& text, qsizetype from) const;

    MatchOptions m_options;
    FoldingRules m_rules;
    // The pattern as the literal modes compare it.
    std::u16string m_needle;
    QRegularExpression m_regex;
    QString m_errorText;
    bool m_findsNothing = false;
    mutable std::u16string m_folded;
};

} // namespace text
