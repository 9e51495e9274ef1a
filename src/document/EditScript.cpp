#include "document/EditScript.h"

#include "document/Document.h"

#include "exchange/ExchangeFormat.h"
#include "exchange/ImportError.h"
#include "text/FieldEscapes.h"
#include "text/TextCompare.h"
#include "xom/WholeFile.h"

#include <QStringDecoder>

#include <array>
#include <limits>

namespace document {

namespace {

struct StepShape {
    const char16_t* name;
    ScriptStep::Kind kind;
    // Its fields: whether the first is a row, and how many there are.
    bool takesRow;
    int fields;
};

constexpr std::array<StepShape, 10> Shapes{{
    {u"edit", ScriptStep::Kind::Edit, true, 2},
    {u"rename", ScriptStep::Kind::Rename, true, 2},
    {u"add", ScriptStep::Kind::Add, false, 2},
    {u"mark", ScriptStep::Kind::Mark, true, 1},
    {u"move-down", ScriptStep::Kind::MoveDown, false, 0},
    {u"sort", ScriptStep::Kind::Sort, false, 0},
    {u"replace-all", ScriptStep::Kind::ReplaceAll, false, 2},
    {u"import", ScriptStep::Kind::Import, false, 1},
    {u"undo", ScriptStep::Kind::Undo, false, 0},
    {u"redo", ScriptStep::Kind::Redo, false, 0},
}};

QString unescaped(const QStringView field, const int line)
{
    std::optional<QString> text = text::unescapedField(field, text::UnitEscapes::Refused);
    if (!text)
        throw ScriptError(line, QStringLiteral("a backslash stands before n, r, t or another backslash"));
    return std::move(*text);
}

ScriptStep stepOf(const QStringView lineText, const int line)
{
    const QList<QStringView> fields = lineText.split(u'\t');
    const QStringView name = fields.front();
    for (const StepShape& shape : Shapes) {
        if (name != QStringView(shape.name))
            continue;
        if (fields.size() - 1 != shape.fields) {
            throw ScriptError(line, QStringLiteral("%1 takes %2 fields").arg(name.toString()).arg(shape.fields));
        }
        ScriptStep step{shape.kind, line, 0, {}, {}};
        int next = 1;
        if (shape.takesRow) {
            bool number = false;
            step.gridRow = fields[next].toInt(&number);
            if (!number || step.gridRow < 1)
                throw ScriptError(line, QStringLiteral("a row is a number from 1"));
            ++next;
        }
        if (next < fields.size())
            step.first = unescaped(fields[next++], line);
        if (next < fields.size())
            step.second = unescaped(fields[next++], line);
        return step;
    }
    throw ScriptError(line, QStringLiteral("no step is called \"%1\"").arg(name.left(40).toString()));
}

void requireRow(const Document& document, const ScriptStep& step)
{
    if (step.gridRow > document.entries().entryCount())
        throw ScriptError(step.line, QStringLiteral("there is no row %1").arg(step.gridRow));
}

void setCell(Document& document, const ScriptStep& step, const int column, const QString& what)
{
    requireRow(document, step);
    const QString before = document.entries().cell(step.gridRow - 1, column);
    // As the Edit dialogs do: an unchanged text is no step.
    if (!text::TextEquals(before, step.first))
        document.setCellTexts({xom::CellChange{step.gridRow, column, before, step.first}}, what);
}

} // namespace

ScriptError::ScriptError(const int line, const QString& reason)
    : std::runtime_error(QStringLiteral("line %1: %2").arg(line).arg(reason).toStdString())
    , m_line(line)
    , m_reason(reason)
{
}

std::vector<ScriptStep> parseEditScript(const QByteArrayView bytes)
{
    std::vector<ScriptStep> steps;
    qsizetype from = 0;
    for (int line = 1; from < bytes.size(); ++line) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        QByteArrayView lineBytes = bytes.sliced(from, end - from);
        from = end + 1;
        if (lineBytes.endsWith('\r'))
            lineBytes.chop(1);
        // Each line decoded on its own, so that a bad byte names its line.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString lineText = decoder(lineBytes);
        if (decoder.hasError())
            throw ScriptError(line, QStringLiteral("the line is not UTF-8"));
        if (lineText.isEmpty() || lineText.startsWith(u'#'))
            continue;
        steps.push_back(stepOf(lineText, line));
        if (line == std::numeric_limits<int>::max())
            throw ScriptError(line, QStringLiteral("the script is too long"));
    }
    return steps;
}

void runEditScript(Document& document, const std::vector<ScriptStep>& steps, const QDir& folder)
{
    using Kind = ScriptStep::Kind;
    for (const ScriptStep& step : steps) {
        switch (step.kind) {
        case Kind::Edit:
            setCell(document, step, xom::TextColumn, QStringLiteral("Edit"));
            break;
        case Kind::Rename:
            setCell(document, step, xom::NameColumn, QStringLiteral("Rename"));
            break;
        case Kind::Add:
            (void)document.addEntry(step.first, step.second);
            break;
        case Kind::Mark:
            requireRow(document, step);
            document.toggleMark(step.gridRow);
            break;
        case Kind::MoveDown:
            document.moveDown();
            break;
        case Kind::Sort:
            document.sortByName();
            break;
        case Kind::ReplaceAll:
            (void)document.replaceAll(
                xom::TableSearch({step.first, text::MatchMode::Contains, false}, xom::LookIn::Texts), step.second);
            break;
        case Kind::Import: {
            const QString path = folder.filePath(step.first);
            const xom::WholeFile file = xom::readWholeFile(path, std::numeric_limits<qsizetype>::max());
            if (file.status != xom::WholeFile::Status::Read)
                throw ScriptError(step.line, QStringLiteral("cannot open file %1").arg(path));
            try {
                (void)document.importExchange(file.bytes, *exchange::exchangeFormatOf(path, std::nullopt), {});
            } catch (const exchange::ImportError& error) {
                throw ScriptError(
                    step.line, QStringLiteral("%1:%2: %3").arg(path).arg(error.line()).arg(error.reason()));
            }
            break;
        }
        case Kind::Undo:
            if (!document.history().canUndo())
                throw ScriptError(step.line, QStringLiteral("there is nothing to undo"));
            document.undo();
            break;
        case Kind::Redo:
            if (!document.history().canRedo())
                throw ScriptError(step.line, QStringLiteral("there is nothing to redo"));
            document.redo();
            break;
        }
    }
}

} // namespace document
