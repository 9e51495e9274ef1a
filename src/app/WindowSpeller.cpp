#include "app/WindowSpeller.h"

#include "spelling/DictionaryCatalog.h"
#include "spelling/MisspeltWords.h"
#include "spelling/PersonalWords.h"
#include "spelling/SpellChecker.h"

namespace app {

WindowSpeller::WindowSpeller(
    std::function<std::optional<QString>()> reference, std::function<void(const QString&)> tell)
    : m_reference(std::move(reference))
    , m_tell(std::move(tell))
{
}

WindowSpeller::~WindowSpeller() = default;

void WindowSpeller::setLanguage(const QString& tag)
{
    if (tag == m_language)
        return;
    m_language = tag;
    m_checker.reset();
    m_tried = false;
}

spelling::SpellChecker* WindowSpeller::checker()
{
    if (!m_enabled || m_language.isEmpty())
        return nullptr;
    if (m_tried)
        return m_checker.get();
    m_tried = true;
    const std::optional<spelling::Dictionary> dictionary = spelling::DictionaryCatalog().bestFor(m_language);
    if (!dictionary) {
        m_tell(QStringLiteral("No spelling dictionary for %1 is installed: spelling is not checked.").arg(m_language));
        return nullptr;
    }
    try {
        m_checker
            = std::make_unique<spelling::SpellChecker>(*dictionary, spelling::personalWordListPath(dictionary->tag));
    } catch (const spelling::SpellingError& error) {
        m_tell(error.message());
    }
    return m_checker.get();
}

checks::UnknownWords WindowSpeller::unknownWordsOfRows(const document::Document& document, const std::vector<int>& rows)
{
    spelling::SpellChecker* const spell = document.review() ? checker() : nullptr;
    return spell ? checks::unknownWordsOf(document, *spell, rows) : checks::UnknownWords();
}

std::optional<spelling::Dictionary> WindowSpeller::dictionary()
{
    spelling::SpellChecker* const spell = checker();
    return spell ? std::optional<spelling::Dictionary>(spell->dictionary()) : std::nullopt;
}

std::vector<std::pair<qsizetype, qsizetype>> WindowSpeller::misspelt(const QString& text)
{
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    spelling::SpellChecker* const spell = checker();
    if (!spell)
        return spans;
    const QString reference = m_reference().value_or(QString());
    for (const spelling::MisspeltWord& word : spelling::misspeltWords(text, reference, *spell))
        spans.emplace_back(word.start, word.length);
    return spans;
}

QStringList WindowSpeller::suggestions(const QString& word)
{
    spelling::SpellChecker* const spell = checker();
    return spell ? spell->suggestions(word) : QStringList();
}

void WindowSpeller::addToDictionary(const QString& word)
{
    spelling::SpellChecker* const spell = checker();
    if (!spell)
        return;
    try {
        if (!spell->addToPersonal(word))
            m_tell(QStringLiteral("“%1” cannot be kept in a word list.").arg(word));
    } catch (const spelling::SpellingError& error) {
        m_tell(error.message());
    }
}

} // namespace app
