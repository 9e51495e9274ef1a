#include "document/UndoHistory.h"

namespace document {

void UndoHistory::push(Step step)
{
    step.contentVersion = step.changesFile ? ++m_lastVersion : currentVersion();
    m_steps.resize(static_cast<std::size_t>(m_index));
    m_steps.push_back(std::move(step));
    ++m_index;
}

QString UndoHistory::undoText() const
{
    return canUndo() ? m_steps[static_cast<std::size_t>(m_index - 1)].text : QString();
}

QString UndoHistory::redoText() const
{
    return canRedo() ? m_steps[static_cast<std::size_t>(m_index)].text : QString();
}

void UndoHistory::startOver()
{
    m_steps.clear();
    m_index = 0;
    m_baseVersion = ++m_lastVersion;
    m_savedVersion = m_baseVersion;
}

void UndoHistory::markSaved()
{
    m_savedVersion = currentVersion();
}

std::uint64_t UndoHistory::currentVersion() const
{
    return m_index == 0 ? m_baseVersion : m_steps[static_cast<std::size_t>(m_index - 1)].contentVersion;
}

} // namespace document
