#pragma once

#include <QObject>

#include <cstdint>

class QUndoStack;

namespace app {

class GridCommand;

// Whether the entries differ from the file last loaded or saved, as far as a
// save would write them. The undo history alone cannot tell: a mark is an
// undo step, but marks are never saved, so marking a row (and unmarking it,
// or marking another) leaves the file unchanged.
//
// Each step pushed through here gets the version of the content it leaves:
// a new version when it changes the file, the version below it when it does
// not. The content is unchanged exactly while the step below the stack's
// index carries the version last loaded or saved. Steps that a push drops
// from the redo end take their versions with them, so a saved version that
// can no longer be reached counts as changed.
class FileChanges final : public QObject {
    Q_OBJECT

public:
    // stack must outlive this object; every step goes through push().
    explicit FileChanges(QUndoStack& stack, QObject* parent = nullptr);

    // Numbers the step and pushes it; the stack takes it.
    void push(GridCommand* step);
    // After the history was cleared for a new file: that file is the saved
    // content.
    void startOver();
    // The current content was just written.
    void markSaved();

    [[nodiscard]] bool unsaved() const;

signals:
    // Emitted whenever unsaved() may have changed.
    void changed();

private:
    [[nodiscard]] std::uint64_t currentVersion() const;

    QUndoStack& m_stack;
    std::uint64_t m_lastVersion = 0;
    // The version of an empty history.
    std::uint64_t m_baseVersion = 0;
    std::uint64_t m_savedVersion = 0;
};

} // namespace app
