#pragma once

#include <QByteArrayView>
#include <QDir>
#include <QString>

#include <stdexcept>
#include <vector>

namespace document {

class Document;

// A script of the steps a translator takes on a document, one per line, so
// that a day's work can be run again without the window (ludra-lang run)
// and the window and the command line can be held to the same bytes.
//
// A line is a step's name, then its fields, separated by tabs; in a field
// \n, \r, \t and \\ stand for a line feed, a carriage return, a tab and a
// backslash. Empty lines and lines that start with # are passed over.
//
//   edit ROW TEXT          the Text cell of grid row ROW (from 1) becomes TEXT
//   rename ROW NAME        the Name cell of grid row ROW becomes NAME
//   add NAME TEXT          Add
//   mark ROW               Toggle Mark on grid row ROW
//   move-down              Move Down
//   sort                   Sort
//   replace-all FIND WITH  Replace All of FIND in the texts, any letter case
//   import FILE            Import of FILE (CSV, PO or XLIFF by its extension)
//   undo, redo
struct ScriptStep {
    enum class Kind { Edit, Rename, Add, Mark, MoveDown, Sort, ReplaceAll, Import, Undo, Redo };
    Kind kind = Kind::Sort;
    int line = 0;
    // The row of edit, rename and mark; the fields after it (or after the
    // name), unescaped: edit's text, rename's name, add's name and text,
    // replace-all's text and replacement, import's file.
    int gridRow = 0;
    QString first;
    QString second;
};

// A script that cannot be read, at the line it stopped at.
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const QString& reason);

    [[nodiscard]] int line() const noexcept { return m_line; }
    [[nodiscard]] const QString& reason() const noexcept { return m_reason; }

private:
    int m_line;
    QString m_reason;
};

// The steps of a script in UTF-8. Throws ScriptError at the first line that
// is not a step: an unknown name, a wrong number of fields, a row that is
// not a number from 1, a bad escape, bytes that are not UTF-8.
[[nodiscard]] std::vector<ScriptStep> parseEditScript(QByteArrayView bytes);

// Runs the steps on document, each as the window's action does; an import's
// file is found from folder. Throws ScriptError at a step that cannot be
// made (a row the document lacks, an import refused, nothing to undo).
void runEditScript(Document& document, const std::vector<ScriptStep>& steps, const QDir& folder);

} // namespace document
