// Tags, escape sequences and URLs: what the game reads rather than shows,
// so each must come through the translation as the reference has it.

#include "checks/TextScan.h"

#include <QChar>

namespace checks::scan {

namespace {

// Orders tags without regard to case or to the spaces inside them, so that
// "<B>" equals "<b>" and "<br />" equals "<br/>".
[[nodiscard]] int compareTags(QStringView a, QStringView b) noexcept
{
    qsizetype i = 0;
    qsizetype j = 0;
    const auto skipSpaces = [](QStringView tag, qsizetype& at) {
        while (at < tag.size() && (tag[at] == u' ' || tag[at] == u'\t'))
            ++at;
    };
    for (;;) {
        skipSpaces(a, i);
        skipSpaces(b, j);
        if (i == a.size() || j == b.size())
            return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
        const char16_t x = QChar::toCaseFolded(a[i++].unicode());
        const char16_t y = QChar::toCaseFolded(b[j++].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
}

[[nodiscard]] QString shown(QStringView item)
{
    return item.toString();
}

[[nodiscard]] bool isEscapedCharacter(const char16_t c) noexcept
{
    return c == u'n' || c == u't' || c == u'r' || c == u'"' || c == u'\'' || c == u'\\';
}

void escapesInto(QStringView text, std::vector<QStringView>& escapes)
{
    escapes.clear();
    const qsizetype size = text.size();
    for (qsizetype at = 0; at + 1 < size; ++at) {
        if (text[at] == u'\\' && isEscapedCharacter(text[at + 1].unicode())) {
            escapes.push_back(text.sliced(at, 2));
            ++at;
        }
    }
}

} // namespace

bool tagsFail(const CheckInput& in, QString* detail)
{
    if (!in.referenceProfile.angle && !in.referenceProfile.bracket && !in.textProfile.angle && !in.textProfile.bracket)
        return false;
    thread_local std::vector<QStringView> ofReference;
    thread_local std::vector<QStringView> ofText;
    ofReference.clear();
    ofText.clear();
    forEachTag(in.reference, [](QStringView tag) { ofReference.push_back(tag); });
    forEachTag(in.text, [](QStringView tag) { ofText.push_back(tag); });
    return multisetsDiffer(
        ofReference, ofText, [](QStringView a, QStringView b) { return compareTags(a, b) < 0; }, shown, detail);
}

bool escapesFail(const CheckInput& in, QString* detail)
{
    if (!in.referenceProfile.backslash && !in.textProfile.backslash)
        return false;
    thread_local std::vector<QStringView> ofReference;
    thread_local std::vector<QStringView> ofText;
    escapesInto(in.reference, ofReference);
    escapesInto(in.text, ofText);
    return multisetsDiffer(ofReference, ofText, std::less<QStringView>(), shown, detail);
}

bool urlsFail(const CheckInput& in, QString* detail)
{
    if (!in.referenceProfile.urlMark && !in.textProfile.urlMark)
        return false;
    thread_local std::vector<QStringView> ofReference;
    thread_local std::vector<QStringView> ofText;
    ofReference.clear();
    ofText.clear();
    forEachUrl(in.reference, [](QStringView url) { ofReference.push_back(url); });
    forEachUrl(in.text, [](QStringView url) { ofText.push_back(url); });
    return multisetsDiffer(ofReference, ofText, std::less<QStringView>(), shown, detail);
}

} // namespace checks::scan
