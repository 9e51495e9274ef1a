// The checks in the window: the file's choices (kept in its review file)
// run by the review whenever they, the file, the reference or the
// languages change; Edit › Checks… turns checks on and off and sets the
// length limits; Edit › Fix… makes the safe fixes of what they find.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/MessageBoxes.h"
#include "app/SpellingScan.h"
#include "app/WindowSpeller.h"
#include "app/WindowCaptions.h"

#include "checks/DocumentChecks.h"
#include "dialogs/ChecksDialog.h"
#include "spelling/DictionaryCatalog.h"
#include "spelling/PersonalWords.h"

#include "text/Decimal.h"

#include <QAction>
#include <QStatusBar>
#include <QTableView>

namespace app {

namespace {

QString severityHeading(const checks::Severity severity)
{
    switch (severity) {
    case checks::Severity::Critical:
        return QStringLiteral("Critical: would break the game's display or formatting");
    case checks::Severity::Warning:
        return QStringLiteral("Warning: probably wrong");
    case checks::Severity::Style:
        return QStringLiteral("Style");
    }
    return {};
}

// The catalogue in the order the dialog lists it: by severity, then as the
// catalogue has them.
std::vector<const checks::CheckEntry*> checksBySeverity()
{
    std::vector<const checks::CheckEntry*> listed;
    for (const checks::CheckEntry& check : checks::allCheckEntries())
        listed.push_back(&check);
    std::stable_sort(listed.begin(), listed.end(),
        [](const checks::CheckEntry* a, const checks::CheckEntry* b) { return a->severity < b->severity; });
    return listed;
}

} // namespace

void TFormXom::buildCheckControls()
{
    m_speller = std::make_unique<WindowSpeller>([this] { return selectedReferenceText(); },
        [this](const QString& message) { StatusBar1->showMessage(message, 10'000); });
    m_spellingScan = new SpellingScan(this);
    connect(
        m_spellingScan, &SpellingScan::found, this, [this](const quint64 serial, const checks::UnknownWords& unknown) {
            if (serial != m_spellingSerial)
                return;
            m_unknownWords = unknown;
            showCountPanel();
        });
    connect(m_spellingScan, &SpellingScan::failed, this,
        [this](const QString& message) { StatusBar1->showMessage(message, 10'000); });
    // Rows that move or go make the whole file spelled again; a changed
    // text, its row alone.
    connect(&m_document, &document::Document::reordered, this, &TFormXom::spellWholeFile);
    connect(&m_document, &document::Document::rowCountChanged, this, &TFormXom::spellWholeFile);
    connect(&m_document, &document::Document::cellsChanged, this, &TFormXom::spellChangedRows);
    // A file opened anew starts from the defaults; its review file, read
    // after, brings its choices.
    connect(&m_document, &document::Document::reset, this, &TFormXom::applyChecks);
    connect(&m_document, &document::Document::referenceChanged, this, &TFormXom::applyChecks);
    connect(m_actions.checks, &QAction::triggered, this, &TFormXom::checksClick);
    connect(m_actions.fix, &QAction::triggered, this, &TFormXom::fixClick);
}

void TFormXom::applyChecks()
{
    const checks::CheckSelection selection = checks::selectionOf(m_document);
    const QString language = checks::targetLanguageOf(m_document);
    m_checkContext = checks::contextOf(selection, language);
    m_grid->setCheckContext(m_checkContext);
    m_speller->setLanguage(checks::spellingLanguageOf(m_document));
    m_speller->setEnabled(selection.spelling);
    spellWholeFile();
    // The same selection for the same language runs as it is: a recheck of
    // a million entries is not for nothing.
    if (m_appliedChecks && m_appliedChecks->first == selection && m_appliedChecks->second == language)
        return;
    m_appliedChecks.emplace(selection, language);
    checks::runSelection(m_document, selection);
}

void TFormXom::spellWholeFile()
{
    // A file this small is spelled at once, so that what is shown never
    // waits; a larger one on the spelling thread, the window going on.
    constexpr int SpelledAtOnce = 2'000;
    m_spellingScan->stop();
    ++m_spellingSerial;
    m_unknownWords.clear();
    const std::optional<spelling::Dictionary> dictionary = m_document.review() ? m_speller->dictionary() : std::nullopt;
    if (dictionary && m_document.entries().entryCount() <= SpelledAtOnce) {
        m_unknownWords = m_speller->unknownWordsOfRows(m_document, {});
    } else if (dictionary) {
        m_spellingSerial = m_spellingScan->start(
            checks::spellingSnapshot(m_document), *dictionary, spelling::personalWordListPath(dictionary->tag));
    }
    showCountPanel();
}

void TFormXom::spellChangedRows(const std::vector<xom::CellChange>& changes)
{
    if (!m_document.review() || !m_speller->dictionary())
        return;
    std::vector<int> rows;
    for (const xom::CellChange& change : changes) {
        if (change.column == xom::TextColumn)
            rows.push_back(change.gridRow - 1);
    }
    if (rows.empty())
        return;
    const checks::UnknownWords respelled = m_speller->unknownWordsOfRows(m_document, rows);
    for (const int row : rows) {
        m_unknownWords.erase(row);
        if (const auto words = respelled.find(row); words != respelled.end())
            m_unknownWords.emplace(row, words->second);
    }
    showCountPanel();
}

dialogs::ChecksDialog& TFormXom::checksDialog()
{
    if (!m_checksDialog)
        m_checksDialog = new dialogs::ChecksDialog(this);
    return *m_checksDialog;
}

void TFormXom::checksClick()
{
    if (!m_document.isLoaded())
        return;
    const checks::CheckSelection selection = checks::selectionOf(m_document);
    dialogs::CheckChoices shown;
    for (const checks::CheckEntry* const check : checksBySeverity()) {
        shown.checks.push_back({QString(check->key), check->name, check->explanation, severityHeading(check->severity),
            selection.runs(*check)});
    }
    shown.maxCharacters = selection.maxCharacters;
    shown.maxPercent = selection.maxPercent;
    const spelling::DictionaryCatalog catalog;
    for (const spelling::Dictionary& installed : catalog.dictionaries())
        shown.dictionaries << installed.tag;
    shown.dictionary = selection.dictionary;
    shown.fileLanguage = checks::targetLanguageOf(m_document);
    dialogs::ChecksDialog& dialog = checksDialog();
    dialog.setChoices(shown);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const dialogs::CheckChoices chosen = dialog.choices();
    checks::CheckSelection now = selection;
    for (const dialogs::CheckChoice& choice : chosen.checks) {
        if (const checks::CheckEntry* const check = checks::checkOfKey(choice.key))
            now.set(*check, choice.on);
    }
    now.maxCharacters = chosen.maxCharacters;
    now.maxPercent = chosen.maxPercent;
    now.dictionary = chosen.dictionary;
    // A limit set asks for the length check.
    if ((now.maxCharacters > 0 || now.maxPercent > 0)
        && (selection.maxCharacters != now.maxCharacters || selection.maxPercent != now.maxPercent))
        now.text.setFlag(checks::TextCheck::Length, true);
    if (now == selection)
        return;
    m_document.setCheckChoices(checks::choicesOf(now, m_document.checkChoices(), m_document.entries().entryCount()));
    applyChecks();
    StatusBar1->showMessage(QStringLiteral("The review file keeps the checks with the next save."), 10'000);
}

void TFormXom::fixClick()
{
    if (!m_document.review()) {
        m_messageBoxes->showInformation(applicationTitle(),
            QStringLiteral("Open a reference first: the fixes make a text's edges, invisible characters and "
                           "ellipses those of its reference."));
        return;
    }
    std::vector<xom::CellChange> fixes = checks::safeFixesOf(m_document);
    if (fixes.empty()) {
        m_messageBoxes->showInformation(applicationTitle(), QStringLiteral("No entry needs a safe fix."));
        return;
    }
    const QString question
        = QStringLiteral("Make the safe fixes in %1 entries? Each text gets its reference's leading and trailing "
                         "whitespace, loses zero-width and control characters its reference does not have, and "
                         "gets an ellipsis for three dots where its reference has one. Undo takes it back.")
              .arg(text::FormatDecimal(static_cast<int>(fixes.size())));
    if (!m_messageBoxes->askFix(question))
        return;
    guarded([&] { m_document.setCellTexts(std::move(fixes), QStringLiteral("Fix")); });
}

} // namespace app
