#include "dialogs/PlainTextBox.h"

#include "dialogs/LineBreaks.h"

#include <QTextDocument>

namespace dialogs {

PlainTextBox::PlainTextBox(QWidget* parent)
    : QPlainTextEdit(parent)
{
    // Tab moves through the dialog's tab order, as in the other boxes.
    setTabChangesFocus(true);
}

void PlainTextBox::setText(const QString& text)
{
    setPlainText(text);
}

QString PlainTextBox::text() const
{
    // The raw text keeps every code unit; blocks end in U+2029 and Shift+Enter
    // gives U+2028, both of which become CR LF here.
    return withCrLfLineBreaks(document()->toRawText());
}

} // namespace dialogs
