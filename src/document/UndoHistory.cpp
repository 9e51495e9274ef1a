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

void UndoHistory::insertDoneBelow(Step step)
{
    step.contentVersion = m_baseVersion;
    if (step.changesFile)
        m_baseVersion = ++m_lastVersion;
    m_steps.insert(m_steps.begin(), std::move(step));
    ++m_index;
}

void UndoHistory::appendUndone(Step step)
{
    const std::uint64_t top = m_steps.empty() ? m_baseVersion : m_steps.back().contentVersion;
    step.contentVersion = step.changesFile ? ++m_lastVersion : top;
    m_steps.push_back(std::move(step));
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

void UndoHistory::markNoneSaved()
{
    m_savedVersion = ++m_lastVersion;
}

std::uint64_t UndoHistory::currentVersion() const
{
    return m_index == 0 ? m_baseVersion : m_steps[static_cast<std::size_t>(m_index - 1)].contentVersion;
}

} // namespace document
