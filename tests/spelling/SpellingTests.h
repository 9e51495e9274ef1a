#pragma once

// What the spelling tests share: texts printed as text in failures, and
// the dictionaries Debian installs, which the tests of real words use (a
// test skips itself, naming the package, when its dictionary is missing).

#include "spelling/DictionaryCatalog.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>

QT_BEGIN_NAMESPACE
// Failures show texts as text rather than as bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}
QT_END_NAMESPACE

namespace spellingtest {

struct InstalledDictionary {
    const char* tag;
    const char* baseName;
    const char* package;
};

inline constexpr InstalledDictionary EnglishUs{"en-US", "en_US", "hunspell-en-us"};
inline constexpr InstalledDictionary GermanGermany{"de-DE", "de_DE", "hunspell-de-de"};

// The dictionary's files in the system's folder, or nothing when either is
// missing.
inline std::optional<spelling::Dictionary> installed(const InstalledDictionary& which)
{
    const QString base = QStringLiteral(LUDRA_HUNSPELL_DIR "/") + QLatin1String(which.baseName);
    spelling::Dictionary dictionary{
        QLatin1String(which.tag), base + QStringLiteral(".aff"), base + QStringLiteral(".dic")};
    if (!QFileInfo::exists(dictionary.affPath) || !QFileInfo::exists(dictionary.dicPath))
        return std::nullopt;
    return dictionary;
}

} // namespace spellingtest

// Declares `dictionary` as the installed one, or skips the test.
#define LUDRA_NEED_DICTIONARY(dictionary, which)                                                                       \
    const std::optional<spelling::Dictionary> dictionary = spellingtest::installed(which);                             \
    if (!dictionary)                                                                                                   \
    GTEST_SKIP() << "needs the package " << (which).package << " (" LUDRA_HUNSPELL_DIR ")"
