#include "checks/TextChecks.h"

#include "checks/TextScan.h"
#include "xom/TranslationChecks.h"

#include <array>

namespace checks {

namespace {

using CheckFunction = bool (*)(const scan::CheckInput&, QString*);

// In TextCheck order.
constexpr std::array<CheckFunction, TextCheckCount> CheckFunctions{
    &scan::tagsFail,
    &scan::escapesFail,
    &scan::urlsFail,
    &scan::numbersFail,
    &scan::endPunctuationFails,
    &scan::startPunctuationFails,
    &scan::punctuationSpacingFails,
    &scan::doubledWordFails,
    &scan::doubleSpaceFails,
    &scan::firstLetterCaseFails,
    &scan::controlCharactersFail,
    &scan::invisibleCharactersFail,
    &scan::replacementCharacterFails,
    &scan::mixedScriptsFail,
    &scan::lengthFails,
};

// Each run of exactly three dots made one ellipsis character.
[[nodiscard]] QString withEllipses(QStringView text)
{
    QString result;
    result.reserve(text.size());
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype end = at;
        while (end < text.size() && text[end] == u'.')
            ++end;
        if (end - at == 3) {
            result += QChar(0x2026);
        } else if (end > at) {
            result += text.sliced(at, end - at);
        } else {
            result += text[at];
            ++end;
        }
        at = end;
    }
    return result;
}

} // namespace

const std::vector<TextCheckInfo>& textCheckInfos()
{
    static const std::vector<TextCheckInfo> infos{
        {TextCheck::Tags, QLatin1StringView("tags"), QStringLiteral("tags differ"),
            QStringLiteral("The text lacks markup tags of the reference, or has others."), Severity::Critical},
        {TextCheck::Escapes, QLatin1StringView("escapes"), QStringLiteral("escape sequences differ"),
            QStringLiteral("The text lacks escape sequences such as \\n of the reference, or has others."),
            Severity::Critical},
        {TextCheck::Urls, QLatin1StringView("urls"), QStringLiteral("addresses differ"),
            QStringLiteral("A web or e-mail address of the reference is missing or changed."), Severity::Warning},
        {TextCheck::Numbers, QLatin1StringView("numbers"), QStringLiteral("numbers differ"),
            QStringLiteral("The text lacks numbers of the reference, or has others."), Severity::Warning},
        {TextCheck::EndPunctuation, QLatin1StringView("end-punctuation"), QStringLiteral("ending punctuation differs"),
            QStringLiteral("The text ends with other punctuation than the reference."), Severity::Warning},
        {TextCheck::StartPunctuation, QLatin1StringView("start-punctuation"),
            QStringLiteral("starting punctuation differs"),
            QStringLiteral("The text starts with other punctuation than the reference."), Severity::Style},
        {TextCheck::PunctuationSpacing, QLatin1StringView("punctuation-spacing"), QStringLiteral("punctuation spacing"),
            QStringLiteral("The space before a punctuation mark is not as the language writes it."), Severity::Style},
        {TextCheck::DoubledWord, QLatin1StringView("doubled-word"), QStringLiteral("doubled word"),
            QStringLiteral("The same word stands twice in a row."), Severity::Warning},
        {TextCheck::DoubleSpace, QLatin1StringView("double-space"), QStringLiteral("double space"),
            QStringLiteral("Two or more spaces stand in a row inside the text."), Severity::Style},
        {TextCheck::FirstLetterCase, QLatin1StringView("first-letter-case"),
            QStringLiteral("first letter's case differs"),
            QStringLiteral("The text starts with a capital where the reference does not, or the other way round."),
            Severity::Style},
        {TextCheck::ControlCharacters, QLatin1StringView("control-characters"), QStringLiteral("control characters"),
            QStringLiteral("The text holds control characters that the reference does not."), Severity::Critical},
        {TextCheck::InvisibleCharacters, QLatin1StringView("invisible-characters"),
            QStringLiteral("invisible characters"),
            QStringLiteral("The text holds zero-width or text-direction characters that the reference does not."),
            Severity::Warning},
        {TextCheck::ReplacementCharacter, QLatin1StringView("replacement-character"),
            QStringLiteral("replacement character"),
            QStringLiteral("The text holds U+FFFD, the mark of a character lost in a conversion."), Severity::Critical},
        {TextCheck::MixedScripts, QLatin1StringView("mixed-scripts"), QStringLiteral("mixed scripts"),
            QStringLiteral("A word mixes Latin, Cyrillic or Greek letters that look alike."), Severity::Warning},
        {TextCheck::Length, QLatin1StringView("length"), QStringLiteral("too long"),
            QStringLiteral("The text is longer than the limit set for it."), Severity::Critical},
    };
    return infos;
}

std::optional<TextCheck> textCheckOfKey(QStringView key)
{
    for (const TextCheckInfo& info : textCheckInfos()) {
        if (key == info.key)
            return info.check;
    }
    return std::nullopt;
}

TextChecks failingTextChecks(QStringView reference, QStringView text, const TextCheckContext& context)
{
    TextChecks failing;
    if (context.enabled.isEmpty())
        return failing;
    const scan::CheckInput input{reference, text, scan::profileOf(reference), scan::profileOf(text),
        scan::traitsOf(context.targetLanguage), context};
    for (int i = 0; i < TextCheckCount; ++i) {
        const auto check = static_cast<TextCheck>(i);
        if (context.enabled.testFlag(check) && CheckFunctions[i](input, nullptr))
            failing.setFlag(check);
    }
    return failing;
}

std::vector<TextFinding> textFindings(QStringView reference, QStringView text, const TextCheckContext& context)
{
    // Every profile flag set: each check looks at everything, so that this
    // route does not rest on the profiles the fast route skips by.
    const scan::CheckInput input{reference, text, scan::TextProfile::everything(), scan::TextProfile::everything(),
        scan::traitsOf(context.targetLanguage), context};
    std::vector<TextFinding> findings;
    for (int i = 0; i < TextCheckCount; ++i) {
        const auto check = static_cast<TextCheck>(i);
        QString detail;
        if (context.enabled.testFlag(check) && CheckFunctions[i](input, &detail))
            findings.push_back({check, std::move(detail)});
    }
    return findings;
}

QString placeholderDifference(QStringView reference, QStringView text)
{
    QStringList extra = xom::placeholdersOf(text);
    QStringList missing;
    for (const QString& placeholder : xom::placeholdersOf(reference)) {
        const qsizetype at = extra.indexOf(placeholder);
        if (at >= 0)
            extra.removeAt(at);
        else
            missing += placeholder;
    }
    return scan::differenceDetail(missing, extra);
}

std::optional<FixedText> safelyFixed(QStringView reference, QStringView text)
{
    FixedText fixed;
    bool invisible = false;
    bool control = false;
    fixed.text.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (!reference.contains(c)) {
            if (scan::isStrayInvisibleAt(text, at)) {
                invisible = true;
                continue;
            }
            if (scan::isControlCharacter(c.unicode())) {
                control = true;
                continue;
            }
        }
        fixed.text += c;
    }
    if (invisible)
        fixed.fixes += QStringLiteral("invisible characters");
    if (control)
        fixed.fixes += QStringLiteral("control characters");

    const QStringView leading = xom::leadingWhitespace(fixed.text);
    const QStringView trailing = xom::trailingWhitespace(fixed.text);
    if (leading.size() < fixed.text.size()
        && (leading != xom::leadingWhitespace(reference) || trailing != xom::trailingWhitespace(reference))) {
        const QStringView core
            = QStringView(fixed.text).sliced(leading.size(), fixed.text.size() - leading.size() - trailing.size());
        QString edged = xom::leadingWhitespace(reference).toString();
        edged.append(core).append(xom::trailingWhitespace(reference));
        fixed.text = std::move(edged);
        fixed.fixes += QStringLiteral("edge whitespace");
    }

    if (reference.contains(QChar(0x2026)) && !reference.contains(u"...") && fixed.text.contains(u"...")) {
        QString withoutDots = withEllipses(fixed.text);
        if (withoutDots != fixed.text) {
            fixed.text = std::move(withoutDots);
            fixed.fixes += QStringLiteral("ellipsis");
        }
    }

    if (fixed.fixes.isEmpty())
        return std::nullopt;
    return fixed;
}

} // namespace checks
