// The main window's searches: Enter and F3 in the search box, Find and
// Replace through the SearchTarget it serves, and Go to Entry.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"

#include "dialogs/FindReplaceDialog.h"
#include "dialogs/GoToForm.h"

#include "xom/EntryLookup.h"
#include "xom/EntryOperations.h"
#include "xom/TableSearch.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace app {

namespace {

xom::TableSearch tableSearchOf(const dialogs::SearchRequest& request)
{
    return xom::TableSearch({request.findText, static_cast<text::MatchMode>(request.mode), request.matchCase},
        static_cast<xom::LookIn>(request.lookIn));
}

std::optional<dialogs::FoundText> foundTextOf(const std::optional<xom::CellMatch>& match)
{
    if (!match)
        return std::nullopt;
    return dialogs::FoundText{match->gridRow, match->column, match->start, match->length};
}

} // namespace

QString TFormXom::searchProblem(const dialogs::SearchRequest& request) const
{
    return tableSearchOf(request).matcher().errorText();
}

std::optional<dialogs::FoundText> TFormXom::findMatch(
    const dialogs::SearchRequest& request, const std::optional<dialogs::FoundText>& from, const bool backwards) const
{
    const xom::TableSearch search = tableSearchOf(request);
    if (from) {
        if (backwards)
            return foundTextOf(m_document.findPrevious(search, {from->gridRow, from->column, from->start}));
        return foundTextOf(
            m_document.findAfter(search, xom::CellMatch{from->gridRow, from->column, from->start, from->length}));
    }
    const xom::CellPosition here{currentGridRow(), currentColumn(), 0};
    return foundTextOf(backwards ? m_document.findPrevious(search, here) : m_document.findNext(search, here));
}

dialogs::ReplaceOutcome TFormXom::replaceMatch(
    const dialogs::SearchRequest& request, const dialogs::FoundText& found, const QString& replacement)
{
    dialogs::ReplaceOutcome outcome;
    guarded([&] {
        const xom::TableSearch search = tableSearchOf(request);
        const std::optional<xom::CellPosition> resume = m_document.replaceMatch(
            search, xom::CellMatch{found.gridRow, found.column, found.start, found.length}, replacement);
        if (!resume)
            return;
        outcome.replaced = true;
        outcome.next = foundTextOf(m_document.findNext(search, *resume));
    });
    return outcome;
}

QString TFormXom::replaceAll(const dialogs::SearchRequest& request, const QString& replacement)
{
    QString result;
    guarded([&] { result = xom::describeReplacements(m_document.replaceAll(tableSearchOf(request), replacement)); });
    return result;
}

QString TFormXom::countMatches(const dialogs::SearchRequest& request) const
{
    return xom::describeMatches(m_document.countMatches(tableSearchOf(request)));
}

int TFormXom::currentGridRow() const
{
    const QModelIndex cell = Table->currentIndex();
    return cell.isValid() ? m_grid->gridRowOf(cell) : 0;
}

int TFormXom::currentColumn() const
{
    const QModelIndex cell = Table->currentIndex();
    return cell.isValid() ? cell.column() : xom::NumberColumn;
}

void TFormXom::selectFoundCell(const int gridRow, const int column)
{
    selectGridCell(gridRow, column);
    if (m_findReplace && m_findReplace->isVisible())
        keepClearOfCurrentRow(*m_findReplace);
}

void TFormXom::findInTexts()
{
    Edit1->setFocus(Qt::ShortcutFocusReason);
    Edit1->selectAll();
}

void TFormXom::showNotFound()
{
    m_notFound = true;
    showCountPanel();
}

void TFormXom::Edit1KeyDown(const int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    if (m_document.entries().rows.empty())
        return;
    // Without a match the search lands on row 1 (see searchRowForPrefix),
    // and says so.
    const std::optional<int> match = xom::findRowForPrefix(m_document.entries(), Edit1->text());
    // First the Text column of the current row, then the row found: each
    // step that moves the selection is a select event of its own.
    const QModelIndex current = Table->currentIndex();
    if (current.isValid())
        Table->selectCell(current.siblingAtColumn(xom::TextColumn));
    selectGridCell(match.value_or(1), xom::TextColumn);
    if (!match)
        showNotFound();
}

void TFormXom::searchAgain(const bool backwards)
{
    const std::optional<int> found
        = xom::searchRowForPrefixAgain(m_document.entries(), Edit1->text(), currentGridRow(), backwards);
    if (!found) {
        showNotFound();
        return;
    }
    selectGridCell(*found, xom::TextColumn);
}

void TFormXom::FindReplaceClick()
{
    if (m_findReplace)
        m_findReplace->showFor();
}

void TFormXom::FindClick()
{
    if (m_findReplace)
        m_findReplace->showFor(Edit1->text());
}

void TFormXom::goToClick()
{
    if (m_goToForm)
        guarded([this] { m_goToForm->exec(); });
}

bool TFormXom::goToEntry(const QString& query)
{
    const std::optional<int> row = xom::findEntryRow(m_document.entries(), query);
    if (!row)
        return false;
    const QModelIndex current = Table->currentIndex();
    const bool textOrName
        = current.isValid() && (current.column() == xom::TextColumn || current.column() == xom::NameColumn);
    selectGridCell(*row, textOrName ? current.column() : int(xom::TextColumn));
    TableMouseUp(); // Edit follows the selected cell as after a click
    return true;
}

bool TFormXom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress)
        Edit1KeyDown(static_cast<const QKeyEvent*>(event)->key());
    return QMainWindow::eventFilter(watched, event);
}

} // namespace app
