#pragma once

#include "text/TextCompare.h"

#include <QPlainTextEdit>
#include <QString>

namespace app {

// Shows text in a read-only pane, shown being what the pane shows now.
// The same text again leaves the pane alone: setting it would scroll the
// pane back to its top. (The pane's own toPlainText() cannot tell, since it
// gives a no-break space back as a plain one.)
inline void setPaneText(QPlainTextEdit& pane, QString& shown, const QString& text)
{
    if (text::TextEquals(text, shown))
        return;
    shown = text;
    pane.setPlainText(text);
}

} // namespace app
