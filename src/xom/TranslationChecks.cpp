#include "xom/TranslationChecks.h"

#include <algorithm>
#include <vector>

namespace xom {

namespace {

[[nodiscard]] bool isDigit(const char16_t c) noexcept
{
    return c >= u'0' && c <= u'9';
}

[[nodiscard]] bool isNameCharacter(const char16_t c) noexcept
{
    return isDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u'.';
}

[[nodiscard]] bool isPlaceholderControl(const char16_t c) noexcept
{
    return c >= 0x01 && c <= 0x1F && c != u'\r' && c != u'\n' && c != u'\t';
}

// Reads a run of digits from at; gives the position after it.
[[nodiscard]] qsizetype skipDigits(QStringView text, qsizetype at) noexcept
{
    while (at < text.size() && isDigit(text[at].unicode()))
        ++at;
    return at;
}

// The length of the printf-style or numbered placeholder that starts with
// the '%' at start, or 0 when that '%' starts none. Never reads at or beyond
// text.size().
[[nodiscard]] qsizetype percentPlaceholderLength(QStringView text, const qsizetype start) noexcept
{
    const qsizetype size = text.size();
    qsizetype at = start + 1;
    if (at >= size)
        return 0;
    // A leading 0 is a printf flag ("%05d"), any other digit an argument
    // number: positional printf ("%1$s") or numbered ("%1" .. "%9").
    if (isDigit(text[at].unicode()) && text[at] != u'0') {
        const qsizetype digitsEnd = skipDigits(text, at);
        if (digitsEnd >= size || text[digitsEnd] != u'$')
            return 2;
        at = digitsEnd + 1;
    }
    while (at < size && QStringView(u"-+#0'").contains(text[at]))
        ++at;
    if (at < size && text[at] == u'*')
        ++at;
    else
        at = skipDigits(text, at);
    if (at < size && text[at] == u'.') {
        ++at;
        if (at < size && text[at] == u'*')
            ++at;
        else
            at = skipDigits(text, at);
    }
    // Length modifiers, the doubled ones first.
    if (at + 1 < size && ((text[at] == u'h' && text[at + 1] == u'h') || (text[at] == u'l' && text[at + 1] == u'l')))
        at += 2;
    else if (at < size && QStringView(u"hlLzjtq").contains(text[at]))
        ++at;
    if (at < size && QStringView(u"diouxXeEfFgGaAcCsSpn@").contains(text[at]))
        return at + 1 - start;
    return 0;
}

// The length of the braced placeholder that starts with the '{' at start, or
// 0 when that '{' starts none.
[[nodiscard]] qsizetype bracePlaceholderLength(QStringView text, const qsizetype start) noexcept
{
    qsizetype at = start + 1;
    while (at < text.size() && isNameCharacter(text[at].unicode()))
        ++at;
    if (at == start + 1 || at >= text.size() || text[at] != u'}')
        return 0;
    return at + 1 - start;
}

// Calls found(placeholder) for each placeholder of text in order.
template <typename Found> void forEachPlaceholder(QStringView text, Found&& found)
{
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        const char16_t c = text[at].unicode();
        qsizetype length = 0;
        if (c == u'%') {
            if (at + 1 < size && text[at + 1] == u'%') {
                at += 2; // "%%" is a percent sign
                continue;
            }
            length = percentPlaceholderLength(text, at);
        } else if (c == u'{') {
            length = bracePlaceholderLength(text, at);
        } else if (isPlaceholderControl(c)) {
            length = 1;
        }
        if (length > 0) {
            found(text.sliced(at, length));
            at += length;
        } else {
            ++at;
        }
    }
}

// Whether a text may hold a placeholder at all: most texts hold none, and
// for them the comparison costs one scan and no allocation.
[[nodiscard]] bool mayHoldPlaceholders(QStringView text) noexcept
{
    return std::any_of(text.begin(), text.end(), [](const QChar c) {
        const char16_t u = c.unicode();
        return u == u'%' || u == u'{' || isPlaceholderControl(u);
    });
}

// Fills found with the placeholders of text in sorted order. The caller's
// vector keeps its capacity from call to call, so that checking a million
// entries allocates next to nothing.
void sortPlaceholdersInto(QStringView text, std::vector<QStringView>& found)
{
    found.clear();
    if (!mayHoldPlaceholders(text))
        return;
    forEachPlaceholder(text, [&found](QStringView placeholder) { found.push_back(placeholder); });
    std::sort(found.begin(), found.end());
}

[[nodiscard]] bool placeholdersDiffer(QStringView text, QStringView reference)
{
    thread_local std::vector<QStringView> ofText;
    thread_local std::vector<QStringView> ofReference;
    sortPlaceholdersInto(text, ofText);
    sortPlaceholdersInto(reference, ofReference);
    return ofText != ofReference;
}

} // namespace

QStringView leadingWhitespace(QStringView text) noexcept
{
    qsizetype end = 0;
    while (end < text.size() && text[end].isSpace())
        ++end;
    return text.first(end);
}

QStringView trailingWhitespace(QStringView text) noexcept
{
    qsizetype start = text.size();
    while (start > 0 && text[start - 1].isSpace())
        --start;
    return text.sliced(start);
}

Checks checkTranslation(QStringView text, const std::optional<QStringView> reference)
{
    if (!reference)
        return Check::MissingReference;
    const QStringView ref = *reference;
    if (text.isEmpty())
        return ref.isEmpty() ? Checks() : Checks(Check::Empty);
    if (text == ref)
        return Check::Untranslated;

    Checks failed;
    if (placeholdersDiffer(text, ref))
        failed |= Check::PlaceholdersDiffer;
    if (lineBreakCount(text) != lineBreakCount(ref))
        failed |= Check::LineBreaksDiffer;
    // A whitespace-only text is all leading whitespace: compare it once.
    if (leadingWhitespace(text) != leadingWhitespace(ref) || trailingWhitespace(text) != trailingWhitespace(ref))
        failed |= Check::WhitespaceDiffers;
    return failed;
}

std::vector<std::pair<qsizetype, qsizetype>> placeholderSpans(QStringView text)
{
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    if (!mayHoldPlaceholders(text))
        return spans;
    forEachPlaceholder(text,
        [&](QStringView placeholder) { spans.emplace_back(placeholder.data() - text.data(), placeholder.size()); });
    return spans;
}

QStringList placeholdersOf(QStringView text)
{
    QStringList found;
    forEachPlaceholder(text, [&found](QStringView placeholder) { found += placeholder.toString(); });
    return found;
}

int lineBreakCount(QStringView text) noexcept
{
    int count = 0;
    const qsizetype size = text.size();
    for (qsizetype at = 0; at < size; ++at) {
        if (text[at] == u'\n') {
            ++count;
        } else if (text[at] == u'\r') {
            ++count;
            if (at + 1 < size && text[at + 1] == u'\n')
                ++at;
        }
    }
    return count;
}

QString checkName(const Check check)
{
    switch (check) {
    case Check::Untranslated:
        return QStringLiteral("untranslated");
    case Check::Empty:
        return QStringLiteral("empty");
    case Check::MissingReference:
        return QStringLiteral("missing reference");
    case Check::PlaceholdersDiffer:
        return QStringLiteral("placeholders differ");
    case Check::LineBreaksDiffer:
        return QStringLiteral("line breaks differ");
    case Check::WhitespaceDiffers:
        return QStringLiteral("whitespace differs");
    case Check::DuplicateName:
        return QStringLiteral("duplicate name");
    case Check::InconsistentTranslation:
        return QStringLiteral("inconsistent translation");
    case Check::ReusedTranslation:
        return QStringLiteral("reused translation");
    }
    return {};
}

QStringList checkNames(const Checks checks)
{
    QStringList names;
    for (const Check check : AllChecks) {
        if (checks.testFlag(check))
            names += checkName(check);
    }
    return names;
}

} // namespace xom
