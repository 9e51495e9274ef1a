#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace spelling {

// One installed Hunspell dictionary: the pair ll_RR.aff and ll_RR.dic of a
// folder, named by the language tag the file names give ("en_US" →
// "en-US").
struct Dictionary {
    QString tag;
    QString affPath;
    QString dicPath;

    friend bool operator==(const Dictionary&, const Dictionary&) = default;
};

// The folders where dictionaries are looked for, the user's own first: a
// `hunspell` folder under each of the user's and the system's data
// folders, then /usr/share/hunspell and /usr/share/myspell/dicts.
[[nodiscard]] QStringList defaultDictionaryFolders();

// The dictionaries installed in a list of folders, read once when made.
// A file pair counts when both files are there and the name before the
// extension is a language tag with a language of two or three letters;
// where two folders hold the same tag, the earlier folder's pair is kept.
// A folder that is missing or unreadable holds nothing.
class DictionaryCatalog {
public:
    explicit DictionaryCatalog(const QStringList& folders = defaultDictionaryFolders());

    // Sorted by tag.
    [[nodiscard]] const std::vector<Dictionary>& dictionaries() const noexcept { return m_dictionaries; }

    // The dictionary for a language: the exact tag; else, of the same
    // language, the usual region (de → de-DE, en → en-US, pt-BR → pt-PT
    // when Brazil has none), the language alone, or the first by tag.
    // Nothing when no dictionary is of that language or the tag is no tag.
    [[nodiscard]] std::optional<Dictionary> bestFor(QStringView languageTag) const;

private:
    std::vector<Dictionary> m_dictionaries;
};

} // namespace spelling
