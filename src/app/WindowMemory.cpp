// The translation memory in the window: the current entry's suggestions in
// the pane under the reference, asked for on the lookup thread whenever
// the current entry or its reference text changes; Ctrl+1 … Ctrl+5 and a
// double click put one in the entry; Search Memory; Pre-translate; and the
// translations a save leaves given to the memory.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/FileDialogs.h"
#include "app/MemoryLookup.h"
#include "app/MessageBoxes.h"
#include "app/SuggestionsPane.h"
#include "app/UserSettings.h"
#include "app/WindowCaptions.h"

#include "dialogs/MemorySearchDialog.h"
#include "dialogs/PreTranslateDialog.h"

#include "memory/DocumentUnits.h"
#include "memory/PreTranslation.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>

namespace app {

namespace {

const QString MemoryPathKey = QStringLiteral("memory/path");

} // namespace

void TFormXom::buildMemoryControls()
{
    Suggestions = new SuggestionsPane(Splitter1);
    Suggestions->hide();
    Splitter1->setStretchFactor(3, 1);
    m_memoryLookup = new MemoryLookup(this);
    const std::unique_ptr<QSettings> settings = openUserSettings();
    setMemoryPath(settings->value(MemoryPathKey, memory::TranslationMemory::defaultPath()).toString());

    connect(m_memoryLookup, &MemoryLookup::found, this, &TFormXom::showSuggestions);
    connect(m_memoryLookup, &MemoryLookup::failed, this, [this](const QString& message) {
        m_memoryFiller.forget();
        Suggestions->tell(message);
        StatusBar1->showMessage(message, 10'000);
    });
    connect(m_memoryLookup, &MemoryLookup::readOnly, this,
        [this](const QString& reason) { StatusBar1->showMessage(reason, 10'000); });
    connect(Suggestions, &SuggestionsPane::chosen, this, &TFormXom::insertSuggestion);
    for (std::size_t k = 0; k < m_actions.insertSuggestion.size(); ++k) {
        connect(m_actions.insertSuggestion[k], &QAction::triggered, this,
            [this, k] { insertSuggestion(static_cast<int>(k)); });
    }
    connect(m_actions.searchMemory, &QAction::triggered, this, &TFormXom::searchMemoryClick);
    connect(m_actions.preTranslate, &QAction::triggered, this, &TFormXom::preTranslateClick);
    connect(&m_document, &document::Document::saved, this, &TFormXom::giveSavedUnitsToMemory);
    // A file opened anew gives the memory all its translations again, and
    // is asked its languages again if need be.
    connect(&m_document, &document::Document::reset, this, [this] {
        m_memoryFiller.forget();
        m_languagesAsked = false;
    });
    connect(&m_document, &document::Document::referenceChanged, this, [this] {
        if (m_document.review())
            askLanguages(false);
    });
    connect(m_actions.languages, &QAction::triggered, this, [this] { askLanguages(true); });
    connect(m_actions.memoryFile, &QAction::triggered, this, &TFormXom::memoryFileClick);
}

void TFormXom::memoryFileClick()
{
    const QString chosen = m_fileDialogs->chooseMemoryFile(m_memoryPath);
    if (chosen.isEmpty() || chosen == m_memoryPath)
        return;
    // The memory is opened (or made) by the lookups to come; one that
    // cannot be used says so in the pane, and the choice is kept all the
    // same, as the user may mend the file.
    setMemoryPath(chosen);
    openUserSettings()->setValue(MemoryPathKey, chosen);
    StatusBar1->showMessage(QStringLiteral("Translation memory: %1").arg(QDir::toNativeSeparators(chosen)), 10'000);
}

void TFormXom::setMemoryPath(const QString& path)
{
    m_memoryPath = path;
    m_memoryFiller.forget();
    m_memoryLookup->setPath(path);
    m_lookupSource.clear();
    if (m_document.review())
        lookUpCurrentEntry();
}

memory::LanguagePair TFormXom::memoryLanguages() const
{
    return memory::languagesOf(m_document);
}

void TFormXom::lookUpCurrentEntry()
{
    const std::optional<QString> source = selectedReferenceText();
    if (!source || source->isEmpty()) {
        m_lookupSource.clear();
        Suggestions->tell(QStringLiteral("no reference text for this entry"));
        return;
    }
    const memory::LanguagePair languages = memoryLanguages();
    if (!languages.isComplete()) {
        Suggestions->tell(QStringLiteral("no languages: Edit › Languages… gives them"));
        return;
    }
    // The same source asked for again (a text edited, a state changed)
    // keeps the suggestions shown.
    if (*source == m_lookupSource)
        return;
    m_lookupSource = *source;
    m_lookupSerial = m_memoryLookup->lookUp(languages, *source);
}

void TFormXom::showSuggestions(const quint64 serial, const std::vector<memory::MemoryMatch>& matches)
{
    if (serial == m_lookupSerial)
        Suggestions->show(m_lookupSource, matches);
}

void TFormXom::insertSuggestion(const int index)
{
    guarded([this, index] {
        const std::vector<memory::MemoryMatch>& matches = Suggestions->matches();
        const QModelIndex cell = Table->currentIndex();
        const std::optional<QString> source = selectedReferenceText();
        // Only what the pane shows for this very source: a lookup for the
        // entry may still be on its way.
        if (!cell.isValid() || !source || *source != Suggestions->shownSource() || index < 0
            || index >= static_cast<int>(matches.size()))
            return;
        const memory::MemoryMatch& match = matches[static_cast<std::size_t>(index)];
        const int gridRow = m_grid->gridRowOf(cell);
        const QString before = m_document.entries().text(gridRow - 1).toString();
        std::vector<xom::CellChange> cells;
        if (before != match.unit.target)
            cells.push_back({gridRow, xom::TextColumn, before, match.unit.target});
        // An exact match is a translation of this very source; a near one
        // asks for a look.
        const review::EntryReview& reviewBefore = m_document.entryReview(gridRow);
        review::EntryReview after = reviewBefore;
        after.state = match.score == 100 ? review::State::Translated : review::State::NeedsReview;
        after.snapshot = *source;
        std::vector<document::ReviewChange> reviews;
        if (after != reviewBefore)
            reviews.push_back({gridRow, reviewBefore, after});
        if (!cells.empty() || !reviews.empty())
            m_document.setEntryReviews(std::move(reviews), QStringLiteral("Insert Suggestion"), std::move(cells));
    });
}

dialogs::MemorySearchDialog& TFormXom::memorySearchDialog()
{
    if (!m_memorySearchDialog) {
        m_memorySearchDialog = new dialogs::MemorySearchDialog(
            [this](const QString& phrase) {
                std::vector<QStringList> rows;
                guarded([&] {
                    memory::TranslationMemory memory(m_memoryPath);
                    for (const memory::MemoryUnit& unit : memory.concordance(memoryLanguages(), phrase))
                        rows.push_back({unit.source, unit.target, unit.origin});
                });
                return rows;
            },
            this);
    }
    return *m_memorySearchDialog;
}

void TFormXom::searchMemoryClick()
{
    dialogs::MemorySearchDialog& dialog = memorySearchDialog();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    // The word under the cursor of the preview, or its selection, as a start.
    const QString selected = RichEdit1->textCursor().selectedText();
    if (!selected.isEmpty())
        dialog.searchFor(selected);
    dialog.phraseBox().setFocus();
}

dialogs::PreTranslateDialog& TFormXom::preTranslateDialog()
{
    if (!m_preTranslateDialog)
        m_preTranslateDialog = new dialogs::PreTranslateDialog(this);
    return *m_preTranslateDialog;
}

void TFormXom::preTranslateClick()
{
    if (!m_document.review()) {
        m_messageBoxes->showInformation(
            applicationTitle(), QStringLiteral("Open a reference first: pre-translation "
                                               "fills entries from their reference texts."));
        return;
    }
    const memory::LanguagePair languages = memoryLanguages();
    if (!languages.isComplete()) {
        m_messageBoxes->showInformation(applicationTitle(),
            QStringLiteral("No languages are known for the reference and this file: Edit › Languages… gives them."));
        return;
    }
    dialogs::PreTranslateDialog& dialog = preTranslateDialog();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const memory::PreTranslateOptions options{dialog.minScore().value(), dialog.exactAsTranslated().isChecked()};
    guarded([&] {
        // Whatever the lookup thread still has to add goes in first.
        m_memoryLookup->finish();
        memory::TranslationMemory memory(m_memoryPath);
        const memory::PreTranslateResult result = memory::preTranslate(m_document, memory, languages, options);
        m_messageBoxes->showInformation(applicationTitle(),
            QStringLiteral("Pre-translated: %1.").arg(memory::preTranslateSummary(result, options)));
    });
}

void TFormXom::askLanguages(const bool always)
{
    const memory::LanguagePair known = memoryLanguages();
    if (!always && (known.isComplete() || m_languagesAsked))
        return;
    m_languagesAsked = true;
    const std::optional<review::ReviewLanguages> given = m_messageBoxes->askLanguages(
        QStringLiteral("Which languages are the reference and this file in? Give language tags such as en, de or "
                       "pt-BR: the translation memory answers within them, and the review file keeps them."),
        {known.source, known.target});
    if (!given)
        return;
    const review::ReviewLanguages normal{
        memory::normalLanguageTag(given->source), memory::normalLanguageTag(given->target)};
    for (const auto& [typed, tag] :
        {std::pair{given->source, normal.source}, std::pair{given->target, normal.target}}) {
        if (!typed.isEmpty() && tag.isEmpty()) {
            showError(QStringLiteral("'%1' is no language tag.").arg(typed));
            return;
        }
    }
    m_document.setLanguages(normal);
    applyChecks(); // the target language's own rules
    m_lookupSource.clear();
    if (m_document.review())
        lookUpCurrentEntry();
}

void TFormXom::giveSavedUnitsToMemory()
{
    const memory::LanguagePair languages = memoryLanguages();
    if (!m_document.review() || !languages.isComplete())
        return;
    std::vector<memory::MemoryUnit> units
        = m_memoryFiller.unitsToGive(memory::unitsOf(m_document, languages, QDateTime::currentDateTimeUtc()));
    if (!units.empty())
        m_memoryLookup->add(std::move(units));
}

} // namespace app
