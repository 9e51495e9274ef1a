#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace dialogs {

// The multi-line text box of both dialogs. Texts go in and come out as plain
// text: a text that begins with "{\rtf" is shown as it is, never taken as
// markup. What comes out is every character of the box, line breaks as CR LF.
class PlainTextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit PlainTextBox(QWidget* parent = nullptr);

    // Replaces the content; CR LF, CR, LF and U+2029 show as line breaks.
    void setText(const QString& text);

    // The content with its line breaks as CR LF (see withCrLfLineBreaks).
    // toPlainText() would not do: it turns U+00A0 into a plain space.
    [[nodiscard]] QString text() const;
};

} // namespace dialogs
