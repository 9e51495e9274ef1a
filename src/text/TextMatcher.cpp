#include "text/TextMatcher.h"

#include <algorithm>

namespace text {

namespace {

// Units of folding kept from one call to the next; more is given back.
constexpr std::size_t LargestKeptFolding = std::size_t{1} << 20;

} // namespace

namespace {

QRegularExpression::PatternOptions regexOptions(const bool matchCase)
{
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!matchCase)
        options |= QRegularExpression::CaseInsensitiveOption;
    return options;
}

// The regular expression engine matches no subject that holds a lone
// surrogate, and a text may hold one. It is given the text with each lone
// surrogate as U+FFFD instead: one unit for one, so every match is at the
// same place in the text itself.
QString regexSubject(const QString& text)
{
    QString subject;
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QChar unit = text[i];
        if (!unit.isSurrogate())
            continue;
        if (unit.isHighSurrogate() && i + 1 < count && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (subject.isNull())
            subject = text;
        subject[i] = QChar::ReplacementCharacter;
    }
    return subject.isNull() ? text : subject;
}

// The match with its captures taken from text, not from the subject.
TextMatch regexMatch(const QRegularExpressionMatch& found, const QString& text)
{
    QStringList captures;
    for (int group = 0; group <= found.lastCapturedIndex(); ++group) {
        const qsizetype start = found.capturedStart(group);
        captures += start < 0 ? QString() : text.sliced(start, found.capturedLength(group));
    }
    return TextMatch{found.capturedStart(0), found.capturedLength(0), std::move(captures)};
}

} // namespace

TextMatcher::TextMatcher(MatchOptions options)
    : m_options(std::move(options))
    , m_rules(currentFoldingRules())
{
    m_findsNothing = m_options.pattern.isEmpty();
    if (m_options.mode == MatchMode::RegularExpression) {
        m_regex = QRegularExpression(m_options.pattern, regexOptions(m_options.matchCase));
        if (!m_regex.isValid()) {
            m_errorText
                = QStringLiteral("%1 at position %2").arg(m_regex.errorString()).arg(m_regex.patternErrorOffset());
            m_findsNothing = true;
        } else {
            m_regex.optimize();
        }
        return;
    }
    if (m_options.matchCase)
        m_needle.assign(QStringView(m_options.pattern).utf16(), static_cast<std::size_t>(m_options.pattern.size()));
    else
        m_needle = foldCase(m_options.pattern, m_rules);
}

std::u16string_view TextMatcher::comparable(const QStringView text) const
{
    if (m_options.matchCase)
        return {text.utf16(), static_cast<std::size_t>(text.size())};
    foldCaseInto(text, m_rules, m_folded);
    return m_folded;
}

qsizetype TextMatcher::findNeedle(const std::u16string_view units, const qsizetype from) const
{
    return QStringView(units.data(), static_cast<qsizetype>(units.size()))
        .indexOf(QStringView(m_needle.data(), static_cast<qsizetype>(m_needle.size())), from);
}

std::optional<TextMatch> TextMatcher::literalMatchFrom(const QString& text, const qsizetype from) const
{
    const auto needleLength = static_cast<qsizetype>(m_needle.size());
    switch (m_options.mode) {
    case MatchMode::Contains: {
        if (text.size() - from < needleLength)
            return std::nullopt;
        const qsizetype at = findNeedle(comparable(text), from);
        if (at < 0)
            return std::nullopt;
        return TextMatch{at, needleLength, {}};
    }
    case MatchMode::StartsWith: {
        if (from > 0 || text.size() < needleLength)
            return std::nullopt;
        // One unit more than the needle, so that a pair the needle ends in
        // the middle of folds as a pair.
        const std::u16string_view start = comparable(QStringView(text).first(std::min(text.size(), needleLength + 1)));
        if (start.substr(0, m_needle.size()) != m_needle)
            return std::nullopt;
        return TextMatch{0, needleLength, {}};
    }
    case MatchMode::WholeText:
        if (from > 0 || text.size() != needleLength || comparable(text) != m_needle)
            return std::nullopt;
        return TextMatch{0, needleLength, {}};
    case MatchMode::RegularExpression:
        break;
    }
    return std::nullopt;
}

std::optional<TextMatch> TextMatcher::matchFrom(const QString& text, const qsizetype from) const
{
    if (m_findsNothing || from < 0 || from > text.size())
        return std::nullopt;
    if (m_options.mode != MatchMode::RegularExpression)
        return literalMatchFrom(text, from);
    const QRegularExpressionMatch found = m_regex.match(regexSubject(text), from);
    if (!found.hasMatch())
        return std::nullopt;
    return regexMatch(found, text);
}

std::optional<TextMatch> TextMatcher::matchAt(const QString& text, const qsizetype start) const
{
    if (m_findsNothing || start < 0 || start > text.size())
        return std::nullopt;
    if (m_options.mode == MatchMode::RegularExpression) {
        const QRegularExpressionMatch found = m_regex.match(
            regexSubject(text), start, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!found.hasMatch())
            return std::nullopt;
        return regexMatch(found, text);
    }
    std::optional<TextMatch> found = literalMatchFrom(text, start);
    if (found && found->start != start)
        return std::nullopt;
    return found;
}

std::vector<TextMatch> TextMatcher::allMatches(const QString& text) const
{
    std::vector<TextMatch> matches;
    if (m_findsNothing)
        return matches;
    if (m_options.mode == MatchMode::RegularExpression) {
        QRegularExpressionMatchIterator it = m_regex.globalMatch(regexSubject(text));
        while (it.hasNext())
            matches.push_back(regexMatch(it.next(), text));
        return matches;
    }
    if (m_options.mode != MatchMode::Contains) {
        if (std::optional<TextMatch> found = literalMatchFrom(text, 0))
            matches.push_back(std::move(*found));
        return matches;
    }
    const std::u16string_view units = comparable(text);
    const auto needleLength = static_cast<qsizetype>(m_needle.size());
    for (qsizetype at = findNeedle(units, 0); at >= 0; at = findNeedle(units, at + needleLength))
        matches.push_back(TextMatch{at, needleLength, {}});
    return matches;
}

int TextMatcher::countIn(const QString& text) const
{
    if (m_findsNothing)
        return 0;
    if (m_options.mode == MatchMode::RegularExpression)
        return static_cast<int>(allMatches(text).size());
    if (m_options.mode != MatchMode::Contains)
        return literalMatchFrom(text, 0) ? 1 : 0;
    if (text.size() < static_cast<qsizetype>(m_needle.size()))
        return 0;
    const std::u16string_view units = comparable(text);
    int count = 0;
    const auto needleLength = static_cast<qsizetype>(m_needle.size());
    for (qsizetype at = findNeedle(units, 0); at >= 0; at = findNeedle(units, at + needleLength))
        ++count;
    return count;
}

QString TextMatcher::replacementFor(const TextMatch& match, const QString& replacement) const
{
    if (m_options.mode != MatchMode::RegularExpression)
        return replacement;
    QString expanded;
    expanded.reserve(replacement.size());
    const int groups = m_regex.captureCount();
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar unit = replacement[i];
        if (unit != u'\\' || i + 1 == replacement.size()) {
            expanded += unit;
            continue;
        }
        const QChar next = replacement[i + 1];
        if (next == u'\\') {
            expanded += next;
            ++i;
        } else if (next >= u'0' && next <= u'9' && next.unicode() - u'0' <= groups) {
            expanded += match.captures.value(next.unicode() - u'0');
            ++i;
        } else {
            expanded += unit;
        }
    }
    return expanded;
}

QString TextMatcher::replaceAllIn(const QString& text, const QString& replacement, int& count) const
{
    count = 0;
    if (m_findsNothing)
        return text;
    // The matches are replaced as they are found, never kept: a text of
    // hundreds of megabytes may hold tens of millions of them.
    if (m_options.mode == MatchMode::RegularExpression) {
        QRegularExpressionMatchIterator it = m_regex.globalMatch(regexSubject(text));
        QString replaced;
        qsizetype copied = 0;
        while (it.hasNext()) {
            const TextMatch match = regexMatch(it.next(), text);
            if (count++ == 0)
                replaced.reserve(text.size());
            replaced += QStringView(text).sliced(copied, match.start - copied);
            replaced += replacementFor(match, replacement);
            copied = match.start + match.length;
        }
        if (count == 0)
            return text;
        replaced += QStringView(text).sliced(copied);
        return replaced;
    }
    if (m_options.mode != MatchMode::Contains) {
        const std::optional<TextMatch> found = literalMatchFrom(text, 0);
        if (!found)
            return text;
        count = 1;
        QString replaced = replacement;
        replaced += QStringView(text).sliced(found->length);
        return replaced;
    }
    // A literal needle: counted first, so that the result is sized once,
    // then copied around each match; the needle is found in the folding,
    // which has the text's length.
    const std::u16string_view units = comparable(text);
    const auto needleLength = static_cast<qsizetype>(m_needle.size());
    for (qsizetype at = findNeedle(units, 0); at >= 0; at = findNeedle(units, at + needleLength))
        ++count;
    if (count == 0)
        return text;
    QString replaced;
    replaced.reserve(text.size() + static_cast<qsizetype>(count) * (replacement.size() - needleLength));
    qsizetype copied = 0;
    for (qsizetype at = findNeedle(units, 0); at >= 0; at = findNeedle(units, at + needleLength)) {
        replaced += QStringView(text).sliced(copied, at - copied);
        replaced += replacement;
        copied = at + needleLength;
    }
    replaced += QStringView(text).sliced(copied);
    // The folding of a large text is not kept for the next: the caller is
    // about to store the result beside it.
    if (m_folded.capacity() > LargestKeptFolding)
        std::u16string().swap(m_folded);
    return replaced;
}

} // namespace text
