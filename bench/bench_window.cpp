// The window's Sort and its undo on a million entries, from the click until
// the window has painted what changed: the core's sort plus everything the
// window adds (the grid's notifications, the progress bar, the panes).
// Runs on whatever platform QT_QPA_PLATFORM names (offscreen without a
// display).
#include "app/EditorForms.h"
#include "app/LanguageEdit2Uni.h"
#include "app/MessageBoxes.h"

#include "support/RandomEntries.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Entries = 1'000'000;

// An import's summary would wait for a click: nothing is shown.
class SilentBoxes final : public app::MessageBoxes {
public:
    void showBadLanguageFile(const QString&) override { std::abort(); }
    void showError(const QString&) override { std::abort(); }
    void showErrorWithDetails(const QString&, const QString&) override { std::abort(); }
    [[nodiscard]] app::SaveChoice askSaveChanges(const QString&) override { return app::SaveChoice::Discard; }
    [[nodiscard]] bool askReplaceFile(const QString&) override { return true; }
    [[nodiscard]] app::RecoverChoice askRecover(const QString&, bool) override { return app::RecoverChoice::Later; }
    [[nodiscard]] bool askDropRemoved(const QString&) override { return false; }
    [[nodiscard]] std::optional<review::ReviewLanguages> askLanguages(
        const QString&, const review::ReviewLanguages&) override
    {
        return std::nullopt;
    }
    void showInformation(const QString&, const QString&) override { }
    void showShortcuts(const QList<QPair<QString, QString>>&) override { }
};

// The window as the application shows it, holding the synthetic file.
struct WindowWithFile {
    WindowWithFile()
    {
        const QString path = folder.filePath(QStringLiteral("lang_million.xom"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(testsupport::syntheticFileBytes(Entries)) < 0)
            std::abort();
        file.close();
        forms.FormXom.setMessageBoxes(std::make_unique<SilentBoxes>());
        forms.FormXom.show();
        if (!forms.FormXom.openFile(path))
            std::abort();
        settle();
        // The file's own entries as CSV: an import that changes nothing.
        csvPath = folder.filePath(QStringLiteral("lang_million.csv"));
        QFile csv(csvPath);
        if (!csv.open(QIODevice::WriteOnly)
            || csv.write(forms.FormXom.document().exportAs(exchange::ExchangeFormat::Csv, {})) < 0)
            std::abort();
    }

    // Until every event the change posted, the paints among them, is done.
    static void settle() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

    QTemporaryDir folder;
    app::EditorForms forms;
    QString csvPath;
};

WindowWithFile& window()
{
    static WindowWithFile shown;
    return shown;
}

void windowSort(benchmark::State& state)
{
    app::TFormXom& form = window().forms.FormXom;
    for (auto _ : state) {
        form.SortClick();
        WindowWithFile::settle();
        state.PauseTiming();
        form.undo();
        WindowWithFile::settle();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Entries);
}

void windowUndoSort(benchmark::State& state)
{
    app::TFormXom& form = window().forms.FormXom;
    for (auto _ : state) {
        state.PauseTiming();
        form.SortClick();
        WindowWithFile::settle();
        state.ResumeTiming();
        form.undo();
        WindowWithFile::settle();
    }
    state.SetItemsProcessed(state.iterations() * Entries);
}

// File › Import… of the file's own export: every record read and compared,
// nothing changed. Compare with `ludra-lang import` of the same files.
void windowImportUnchanged(benchmark::State& state)
{
    WindowWithFile& shown = window();
    for (auto _ : state) {
        if (!shown.forms.FormXom.importFile(shown.csvPath, exchange::ExchangeFormat::Csv))
            std::abort();
        WindowWithFile::settle();
    }
    state.SetItemsProcessed(state.iterations() * Entries);
}

// Switching the grid's filter to Needs review (a third of the rows) and
// back to All, each until painted.
void windowFilterSwitch(benchmark::State& state)
{
    app::TFormXom& form = window().forms.FormXom;
    document::Document& document = form.document();
    if (!document.keepsReviews()) {
        std::vector<document::ReviewChange> changes;
        for (int gridRow = 1; gridRow <= Entries; gridRow += 3)
            changes.push_back({gridRow, {}, {review::State::NeedsReview, {}, {}}});
        document.setEntryReviews(std::move(changes), QStringLiteral("Review"));
        WindowWithFile::settle();
    }
    const auto filter = state.range(0) == 0 ? document::RowFilter::NeedsReview : document::RowFilter::All;
    const auto other = state.range(0) == 0 ? document::RowFilter::All : document::RowFilter::NeedsReview;
    for (auto _ : state) {
        state.PauseTiming();
        form.showOnly(other);
        WindowWithFile::settle();
        state.ResumeTiming();
        form.showOnly(filter);
        WindowWithFile::settle();
    }
    state.SetItemsProcessed(state.iterations() * Entries);
}

} // namespace

BENCHMARK(windowImportUnchanged)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(windowSort)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(windowUndoSort)->Unit(benchmark::kMillisecond)->Iterations(5);
// 0: to Needs review; 1: back to All.
BENCHMARK(windowFilterSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The window's recovery journals go to a folder of the run's own.
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
