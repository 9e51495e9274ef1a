#pragma once

#include "memory/TranslationMemory.h"

#include <QWidget>

#include <vector>

class QLabel;
class QListWidget;

namespace app {

// The pane under the preview that offers the memory's units for the
// current entry: for each, its number (Ctrl+1 … Ctrl+5 inserts it), its
// score, the stored source with what differs from the entry's source
// marked (struck out: only in the stored one; underlined: only in the
// entry's), and the stored translation. A double click inserts one too.
class SuggestionsPane final : public QWidget {
    Q_OBJECT

public:
    explicit SuggestionsPane(QWidget* parent = nullptr);

    // The matches for an entry whose reference text is source.
    void show(const QString& source, std::vector<memory::MemoryMatch> matches);
    // A line instead of matches: "No suggestions", why the memory cannot be
    // used.
    void tell(const QString& message);
    [[nodiscard]] const std::vector<memory::MemoryMatch>& matches() const noexcept { return m_matches; }
    // The source the matches shown are for.
    [[nodiscard]] const QString& shownSource() const noexcept { return m_source; }
    // What the pane shows, line by line, as plain text: for tests.
    [[nodiscard]] QStringList shownLines() const;

signals:
    void chosen(int index);

private:
    QLabel* m_title = nullptr;
    QListWidget* m_list = nullptr;
    std::vector<memory::MemoryMatch> m_matches;
    QString m_source;
};

} // namespace app
