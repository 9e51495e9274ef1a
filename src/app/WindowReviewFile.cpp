// The main window's review: the review file read beside each file it opens,
// approving the current entry and going to the next one to review.

#include "app/LanguageEdit2Uni.h"

#include "app/EntryGridModel.h"
#include "app/EntryGridView.h"
#include "app/MessageBoxes.h"
#include "app/WindowCaptions.h"

#include "review/ReviewPairing.h"

namespace app {

void TFormXom::takeReviewBeside(const QString& path, const QByteArray& bytes)
{
    review::ReviewBeside beside = review::readReviewBeside(path, bytes);
    const QString reviewName = fileNameOf(review::reviewPathFor(path));
    if (beside.refusal) {
        showError(QStringLiteral("The review file %1 was not read (%2); %3 is open without its states.")
                      .arg(reviewName, beside.refusal->message(), fileNameOf(path)));
        return;
    }
    if (!beside.file)
        return;
    const int aside = m_document.takeReviewFile(std::move(*beside.file));
    applyChecks(); // the file's own choices
    fitNumberWidths();
    QStringList told;
    if (!beside.pairs) {
        told.append(QStringLiteral("The review file %1 was saved with another version of %2: its states may be "
                                   "older than the texts.")
                        .arg(reviewName, fileNameOf(path)));
    }
    if (aside > 0) {
        told.append(QStringLiteral("%1 entries of the review file are not in %2; they are kept and written back "
                                   "with the next save.")
                        .arg(aside)
                        .arg(fileNameOf(path)));
    }
    if (!told.isEmpty())
        m_messageBoxes->showInformation(applicationTitle(), told.join(QStringLiteral("\n\n")));
}

void TFormXom::approveCurrent()
{
    const QModelIndex current = Table->currentIndex();
    if (!current.isValid() || !m_document.isLoaded())
        return;
    guarded([this, &current] { m_document.toggleApproved(m_grid->gridRowOf(current)); });
}

void TFormXom::goToNextToReview()
{
    // Among the rows the filter shows.
    const std::optional<int> found
        = nextShownRow(true, [this](const int gridRow) { return m_document.wantsReview(gridRow); });
    if (!found)
        return;
    selectGridCell(*found, xom::TextColumn);
    TableMouseUp(); // Edit follows the selected Text cell as after a click
}

} // namespace app
