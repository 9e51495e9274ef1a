#pragma once

#include <QString>
#include <QStringView>

namespace memory {

// Two languages a memory answers within: the reference's and the
// translation's.
struct LanguagePair {
    QString source;
    QString target;

    [[nodiscard]] bool isComplete() const { return !source.isEmpty() && !target.isEmpty(); }
    friend bool operator==(const LanguagePair&, const LanguagePair&) = default;
};

// A language tag in the form the memory keeps and compares: subtags joined
// by '-' (a '_' read as one), the language in lower case, a two-letter
// region in upper case, a four-letter script capitalised ("pt_br" →
// "pt-BR", "zh-hant-tw" → "zh-Hant-TW"). Empty for a tag with anything but
// ASCII letters, digits and separators, or an empty subtag.
[[nodiscard]] QString normalLanguageTag(QStringView tag);

// The language a language file's name gives: "lang_de.xom" → "de",
// "lang_pt_BR.xom" → "pt-BR"; empty when the name is not lang_TAG.xom.
[[nodiscard]] QString languageOfFileName(QStringView path);

} // namespace memory
