#pragma once

#include <QSyntaxHighlighter>

namespace dialogs {

class Speller;

// Underlines the misspelt words of a text box as one types, with the wavy
// line text boxes use for spelling.
class SpellingHighlighter final : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit SpellingHighlighter(QTextDocument* document);

    // The speller to ask, or none (nothing underlined); rehighlights.
    void setSpeller(Speller* speller);

protected:
    void highlightBlock(const QString& text) override;

private:
    Speller* m_speller = nullptr;
};

} // namespace dialogs
