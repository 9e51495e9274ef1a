#pragma once

#include "checks/DocumentChecks.h"
#include "dialogs/Speller.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace spelling {
class SpellChecker;
struct Dictionary;
} // namespace spelling

namespace app {

// The Edit dialog's speller: the dictionary of the file's language (the
// installed one that best fits it), the translator's own word list for it,
// and the selected entry's reference text, whose words are never misspelt.
// The dictionary is loaded when first asked for; a language with no
// dictionary, or one that cannot be loaded, underlines nothing, and the
// reason is told once.
class WindowSpeller final : public dialogs::Speller {
public:
    // reference gives the selected entry's reference text; tell shows a
    // message in the window.
    WindowSpeller(std::function<std::optional<QString>()> reference, std::function<void(const QString&)> tell);
    ~WindowSpeller() override;
    WindowSpeller(const WindowSpeller&) = delete;
    WindowSpeller& operator=(const WindowSpeller&) = delete;

    // The file's language; another than before loads its dictionary when
    // next asked. Empty: no spelling.
    void setLanguage(const QString& tag);
    // Whether spelling is on at all (the file's checks may turn it off).
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // The unknown words of translated rows (0-based) of document (all when
    // none are given), as the checks panel names them; nothing with
    // spelling off.
    [[nodiscard]] checks::UnknownWords unknownWordsOfRows(
        const document::Document& document, const std::vector<int>& rows);
    // The dictionary the language has, when spelling is on.
    [[nodiscard]] std::optional<spelling::Dictionary> dictionary();

    [[nodiscard]] std::vector<std::pair<qsizetype, qsizetype>> misspelt(const QString& text) override;
    [[nodiscard]] QStringList suggestions(const QString& word) override;
    void addToDictionary(const QString& word) override;

private:
    // The checker for the language, loaded on first use; none when it
    // cannot be.
    [[nodiscard]] spelling::SpellChecker* checker();

    std::function<std::optional<QString>()> m_reference;
    std::function<void(const QString&)> m_tell;
    QString m_language;
    bool m_enabled = true;
    std::unique_ptr<spelling::SpellChecker> m_checker;
    // Whether loading was tried for the language (and failed, when there
    // is no checker).
    bool m_tried = false;
};

} // namespace app
