#include "dialogs/SpellingHighlighter.h"

#include "dialogs/Speller.h"

#include <QColor>
#include <QTextCharFormat>

namespace dialogs {

SpellingHighlighter::SpellingHighlighter(QTextDocument* const document)
    : QSyntaxHighlighter(document)
{
}

void SpellingHighlighter::setSpeller(Speller* const speller)
{
    m_speller = speller;
    rehighlight();
}

void SpellingHighlighter::highlightBlock(const QString& text)
{
    if (!m_speller)
        return;
    QTextCharFormat misspelt;
    misspelt.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelt.setUnderlineColor(QColor(Qt::red));
    // A block is a line: words never cross one.
    for (const auto& [start, length] : m_speller->misspelt(text))
        setFormat(static_cast<int>(start), static_cast<int>(length), misspelt);
}

} // namespace dialogs
