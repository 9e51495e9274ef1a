#include "support/UnicodeStringList.h"

#include "support/TextComparisons.h"

#include "text/EditorError.h"
#include "text/QuickSort.h"

#include <utility>

namespace testsupport {

int UnicodeStringList::append(QString text)
{
    m_texts.push_back(std::move(text));
    return count() - 1;
}

const QString& UnicodeStringList::get(const int index) const
{
    if (index < 0 || index >= count())
        throw text::ListIndexError(index);
    return at(index);
}

void UnicodeStringList::removeAt(const int index)
{
    if (index < 0 || index >= count())
        throw text::ListIndexError(index);
    m_texts.erase(m_texts.begin() + index);
}

void UnicodeStringList::copyFrom(const UnicodeStringList& other)
{
    if (this != &other)
        m_texts = other.m_texts;
}

int UnicodeStringList::find(const QStringView text) const
{
    for (int i = 0; i < count(); ++i) {
        if (CompareLocale(at(i), text, m_matchCase) == 0)
            return i;
    }
    return -1;
}

void UnicodeStringList::sortWith(const Comparer& comparer)
{
    text::quickSortPositions(
        count(), [&](const int i, const int j) { return comparer(*this, i, j); },
        [&](const int i, const int j) {
            std::swap(m_texts[static_cast<std::size_t>(i)], m_texts[static_cast<std::size_t>(j)]);
        });
}

} // namespace testsupport
