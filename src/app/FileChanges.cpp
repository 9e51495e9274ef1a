#include "app/FileChanges.h"

#include "app/UndoCommands.h"

#include <QUndoStack>

namespace app {

FileChanges::FileChanges(QUndoStack& stack, QObject* parent)
    : QObject(parent)
    , m_stack(stack)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &FileChanges::changed);
}

void FileChanges::push(GridCommand* step)
{
    step->setContentVersion(step->changesFile() ? ++m_lastVersion : currentVersion());
    m_stack.push(step);
}

void FileChanges::startOver()
{
    m_baseVersion = ++m_lastVersion;
    m_savedVersion = m_baseVersion;
    emit changed();
}

void FileChanges::markSaved()
{
    m_savedVersion = currentVersion();
    emit changed();
}

bool FileChanges::unsaved() const
{
    return currentVersion() != m_savedVersion;
}

std::uint64_t FileChanges::currentVersion() const
{
    const int index = m_stack.index();
    if (index == 0)
        return m_baseVersion;
    return static_cast<const GridCommand*>(m_stack.command(index - 1))->contentVersion();
}

} // namespace app
