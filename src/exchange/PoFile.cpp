#include "exchange/PoFile.h"

#include "exchange/EntryImport.h"
#include "exchange/ExchangeText.h"
#include "exchange/ImportError.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace exchange {

namespace {

// Appends the quoted string lines of one PO string after its keyword, each
// line after prefix (a previous string's "#| "). A lone surrogate takes its
// three-byte form, as in CSV, so that import gives it back.
void appendPoString(
    const QByteArrayView keyword, const QString& text, QByteArray& out, const QByteArrayView prefix = {})
{
    const QByteArray bytes = exchangeUtf8(text);
    out += prefix;
    out += keyword;
    const bool split = bytes.contains('\n') && bytes.indexOf('\n') + 1 < bytes.size();
    if (split) {
        out += " \"\"\n";
        out += prefix;
        out += '"';
    } else {
        out += " \"";
    }
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        switch (b) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            if (split && i + 1 < bytes.size()) {
                out += "\"\n";
                out += prefix;
                out += '"';
            }
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\v':
            out += "\\v";
            break;
        default:
            if (b < 0x20 || b == 0x7F) {
                const char octal[] = {'\\', static_cast<char>('0' + (b >> 6)), static_cast<char>('0' + ((b >> 3) & 7)),
                    static_cast<char>('0' + (b & 7))};
                out.append(octal, sizeof octal);
            } else {
                out += static_cast<char>(b);
            }
        }
    }
    out += "\"\n";
}

// Appends a note as translator comments, one "# " line per line of the
// note (a bare "#" for an empty one), as gettext writes them: any line break
// ends a line.
void appendTranslatorComments(const QString& note, QByteArray& out)
{
    if (note.isEmpty())
        return;
    const QByteArray bytes = exchangeUtf8(note);
    qsizetype start = 0;
    for (qsizetype i = 0;; ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, i - start);
        out += line.isEmpty() ? QByteArrayView("#") : QByteArrayView("# ");
        out += line;
        out += '\n';
        if (i == bytes.size())
            return;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
}

} // namespace

QByteArray poOfEntries(const xom::EntryTable& entries, const ExportContext& context)
{
    const auto headerField = [](const QString& value) {
        QByteArray bytes = exchangeUtf8(value);
        return bytes.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n");
    };
    QByteArray out;
    out += "msgid \"\"\nmsgstr \"\"\n";
    out += "\"Project-Id-Version: " + headerField(context.project) + "\\n\"\n";
    // gettext's own templates leave an unknown language empty.
    const QString language = context.targetLanguage == u"und" ? QString() : context.targetLanguage;
    out += "\"Language: " + headerField(language) + "\\n\"\n";
    out += "\"MIME-Version: 1.0\\n\"\n"
           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
           "\"Content-Transfer-Encoding: 8bit\\n\"\n";
    out += "\"X-Generator: " + headerField(context.generator) + "\\n\"\n";
    for (int row = 0; row < entries.entryCount(); ++row) {
        const xom::Entry entry = entries.entry(row);
        out += '\n';
        // An empty msgid is gettext's header: msgmerge and lconvert would
        // take the message for it. An empty source is said in a comment,
        // and the msgid, which import never reads, holds a mark instead.
        const review::EntryReview kept = context.review ? context.review(row) : review::EntryReview{};
        appendTranslatorComments(kept.note, out);
        const QString source = referenceOrOwn(context.reference, row, entry.text);
        if (source.isEmpty())
            out += "#. " + QByteArray(EmptySourceComment) + '\n';
        if (kept.state == review::State::NeedsReview)
            out += "#, fuzzy\n";
        // The source the translation was accepted against, where it is no
        // longer the one written: a PO editor shows the two side by side.
        if (kept.snapshot && *kept.snapshot != source)
            appendPoString("msgid", *kept.snapshot, out, "#| ");
        appendPoString("msgctxt", entry.number + u' ' + entry.name, out);
        appendPoString("msgid", source.isEmpty() ? QString::fromLatin1(EmptySourceMark) : source, out);
        appendPoString("msgstr", entry.text, out);
    }
    return out;
}

namespace {

[[nodiscard]] int hexDigit(const char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The PO reader, line by line over the bytes.
class PoReader {
public:
    PoReader(const QByteArrayView bytes, EntryImport& import)
        : m_bytes(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes)
        , m_import(import)
    {
    }

    void run()
    {
        refuseCarriageReturnLines();
        while (nextLine()) {
            const QByteArrayView line = trimmed(m_lineText);
            if (line.startsWith("#,")) {
                m_pendingFuzzy = m_pendingFuzzy || hasFuzzyFlag(line.sliced(2));
                continue;
            }
            if (isTranslatorComment(line)) {
                appendCommentLine();
                continue;
            }
            if (line.startsWith("#|")) {
                readPreviousLine(trimmed(line.sliced(2)));
                continue;
            }
            // The comments before an obsolete message are its own.
            if (line.startsWith("#~")) {
                m_pendingFuzzy = false;
                m_pendingNote.clear();
                m_pendingHasNote = false;
                m_pendingPrevious.reset();
                m_previousCurrent = nullptr;
                continue;
            }
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            if (line.startsWith('"')) {
                if (!m_current)
                    fail(QStringLiteral("string without a keyword before it"));
                appendString(line, *m_current);
                continue;
            }
            const qsizetype space = keywordEnd(line);
            const QByteArrayView keyword = line.first(space);
            const QByteArrayView rest = trimmed(line.sliced(space));
            if (keyword == "msgctxt") {
                startMessage();
                m_hasContext = true;
                m_current = &m_context;
            } else if (keyword == "msgid") {
                if (!m_hasContext || m_hasId)
                    startMessage();
                m_hasId = true;
                m_current = &m_id;
            } else if (keyword == "msgstr") {
                if (!m_hasId || m_hasString)
                    fail(QStringLiteral("msgstr without its msgid"));
                m_hasString = true;
                m_current = &m_string;
            } else if (keyword == "msgid_plural" || keyword.startsWith("msgstr[")) {
                fail(QStringLiteral("plural messages do not belong to entries"));
            } else {
                fail(QStringLiteral("unknown keyword \"%1\"").arg(shownBytes(keyword)));
            }
            m_current->clear();
            if (!rest.startsWith('"'))
                fail(QStringLiteral("expected a quoted string"));
            appendString(rest, *m_current);
        }
        finishMessage();
    }

private:
    [[noreturn]] void fail(const QString& reason) const { throw ImportError(m_lineNumber, reason); }

    // Bytes from the file in a message, cut before they are decoded: a line
    // may be hundreds of megabytes long.
    [[nodiscard]] static QString shownBytes(const QByteArrayView bytes)
    {
        constexpr qsizetype Enough = 4 * 80;
        QString shown = shownInMessage(QString::fromUtf8(bytes.first(std::min(bytes.size(), Enough))));
        if (bytes.size() > Enough && !shown.endsWith(QChar(0x2026)))
            shown += QChar(0x2026);
        return shown;
    }

    // "fuzzy" among the comma-separated flags of a "#," comment.
    [[nodiscard]] static bool hasFuzzyFlag(const QByteArrayView flags)
    {
        for (const QByteArrayView flag : QByteArray(flags.toByteArray()).split(',')) {
            if (trimmed(flag) == "fuzzy")
                return true;
        }
        return false;
    }

    // "#" followed by a space, by nothing, or by anything but the marks of
    // gettext's other comments (#. #: #, #| #~).
    [[nodiscard]] static bool isTranslatorComment(const QByteArrayView line)
    {
        return line.startsWith('#') && (line.size() == 1 || !QByteArrayView(".:,|~").contains(line[1]));
    }

    // A line of the previous strings ("#| msgid", its continued strings):
    // the previous msgid is kept for the next message; a previous msgctxt
    // or plural is read past.
    void readPreviousLine(const QByteArrayView rest)
    {
        if (rest.startsWith('"')) {
            if (m_previousCurrent)
                appendString(rest, *m_previousCurrent);
            return;
        }
        const qsizetype space = keywordEnd(rest);
        if (rest.first(space) != "msgid") {
            m_previousCurrent = nullptr;
            return;
        }
        const QByteArrayView string = trimmed(rest.sliced(space));
        if (!string.startsWith('"'))
            fail(QStringLiteral("expected a quoted string"));
        m_pendingPrevious.emplace();
        m_previousCurrent = &*m_pendingPrevious;
        appendString(string, *m_previousCurrent);
    }

    // Adds the current line, a translator comment, to the note being read:
    // what follows its "#" and one space, trailing blanks included.
    void appendCommentLine()
    {
        QByteArrayView text = m_lineText;
        if (text.endsWith('\r'))
            text.chop(1);
        text = text.sliced(text.indexOf('#') + 1);
        if (text.startsWith(' '))
            text = text.sliced(1);
        if (m_pendingHasNote)
            m_pendingNote += '\n';
        m_pendingNote += text;
        m_pendingHasNote = true;
    }

    // A file whose lines end in CR alone would read as one long line that
    // fails somewhere in the middle, for a reason that says nothing of it.
    void refuseCarriageReturnLines() const
    {
        const char* const data = m_bytes.data();
        const auto* const lf
            = static_cast<const char*>(std::memchr(data, '\n', static_cast<std::size_t>(m_bytes.size())));
        const auto* const cr = static_cast<const char*>(
            std::memchr(data, '\r', static_cast<std::size_t>((lf ? lf : data + m_bytes.size()) - data)));
        if (cr && (cr + 1 == data + m_bytes.size() || cr[1] != '\n')) {
            throw ImportError(
                1, QStringLiteral("the lines end in a carriage return alone (old Mac line ends): save the file with "
                                  "LF or CR LF line ends"));
        }
    }

    bool nextLine()
    {
        if (m_at >= m_bytes.size())
            return false;
        ++m_lineNumber;
        const char* const data = m_bytes.data();
        const auto* const end
            = static_cast<const char*>(std::memchr(data + m_at, '\n', static_cast<std::size_t>(m_bytes.size() - m_at)));
        const qsizetype stop = end ? end - data : m_bytes.size();
        m_lineText = m_bytes.sliced(m_at, stop - m_at);
        m_at = stop + 1;
        return true;
    }

    [[nodiscard]] static QByteArrayView trimmed(QByteArrayView line)
    {
        while (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t'))
            line = line.sliced(1);
        while (!line.isEmpty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
            line.chop(1);
        return line;
    }

    [[nodiscard]] static qsizetype keywordEnd(const QByteArrayView line)
    {
        qsizetype i = 0;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '"')
            ++i;
        return i;
    }

    // Appends the bytes of one quoted string, which must be the whole rest
    // of the line.
    void appendString(const QByteArrayView quoted, QByteArray& out) const
    {
        if (quoted.size() < 2 || quoted.back() != '"')
            fail(QStringLiteral("string without its closing quote"));
        const QByteArrayView inner = quoted.sliced(1, quoted.size() - 2);
        for (qsizetype i = 0; i < inner.size(); ++i) {
            // Up to the next escape or quote in one piece.
            const qsizetype runStart = i;
            while (i < inner.size() && inner[i] != '\\' && inner[i] != '"')
                ++i;
            out.append(inner.sliced(runStart, i - runStart));
            if (i == inner.size())
                break;
            if (inner[i] == '"')
                fail(QStringLiteral("unescaped quote inside a string"));
            if (++i >= inner.size())
                fail(QStringLiteral("string without its closing quote"));
            const char e = inner[i];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case '\'':
                out += '\'';
                break;
            case '?':
                out += '?';
                break;
            case 'x': {
                int value = 0;
                int digits = 0;
                while (i + 1 < inner.size() && hexDigit(inner[i + 1]) >= 0) {
                    value = (value * 16 + hexDigit(inner[++i])) & 0xFF;
                    ++digits;
                }
                if (digits == 0)
                    fail(QStringLiteral("\\x without hexadecimal digits"));
                out += static_cast<char>(value);
                break;
            }
            default:
                if (e < '0' || e > '7')
                    fail(QStringLiteral("unknown escape \\%1").arg(QLatin1Char(e)));
                int value = e - '0';
                for (int digits = 1; digits < 3 && i + 1 < inner.size() && inner[i + 1] >= '0' && inner[i + 1] <= '7';
                     ++digits)
                    value = value * 8 + (inner[++i] - '0');
                out += static_cast<char>(value & 0xFF);
            }
        }
    }

    // Ends the message being read and starts a new one at this line, which
    // takes the flags read since the last one.
    void startMessage()
    {
        finishMessage();
        m_messageLine = m_lineNumber;
        m_messageFuzzy = std::exchange(m_pendingFuzzy, false);
        m_messageNote = std::exchange(m_pendingNote, QByteArray());
        m_pendingHasNote = false;
        m_messagePrevious = std::exchange(m_pendingPrevious, std::nullopt);
        m_previousCurrent = nullptr;
    }

    void finishMessage()
    {
        const bool started = m_hasContext || m_hasId;
        const bool hadContext = m_hasContext;
        const bool hadString = m_hasString;
        m_hasContext = m_hasId = m_hasString = false;
        m_current = nullptr;
        if (!started)
            return;
        const int line = m_messageLine;
        if (!hadString)
            throw ImportError(line, QStringLiteral("message without msgstr"));
        if (!hadContext) {
            if (!m_id.isEmpty())
                throw ImportError(line, QStringLiteral("message without msgctxt \"NUMBER NAME\""));
            checkHeader(line);
            return;
        }
        const qsizetype space = m_context.indexOf(' ');
        const QByteArrayView number = QByteArrayView(m_context).first(space < 0 ? 0 : space);
        const bool digits = !number.isEmpty()
                         && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits)
            throw ImportError(line, QStringLiteral("msgctxt is not \"NUMBER NAME\""));
        m_record.line = line;
        m_record.review.unfinished = m_messageFuzzy;
        // An empty msgstr is no translation, final or not.
        m_record.review.finished = !m_messageFuzzy && !m_string.isEmpty();
        m_record.review.note = noteOf(m_messageNote, line);
        // As written: the snapshot is compared with the reference exactly.
        m_record.review.previousSource
            = m_messagePrevious ? std::optional<QString>(textOf(*m_messagePrevious, line, DecodedBreaks::AsWritten))
                                : std::nullopt;
        m_record.number = QString::fromLatin1(number);
        m_record.name = textOf(QByteArrayView(m_context).sliced(space + 1), line, DecodedBreaks::AsWritten);
        if (m_string.isEmpty())
            m_record.text.reset();
        else
            m_record.text = textOf(m_string, line, DecodedBreaks::CrLf);
        m_import.apply(m_record);
    }

    void checkHeader(const int line) const
    {
        const qsizetype at = m_string.indexOf("charset=");
        if (at < 0)
            return;
        qsizetype end = at + 8;
        while (end < m_string.size() && m_string[end] != '\n' && m_string[end] != ';' && m_string[end] != ' ')
            ++end;
        const QByteArrayView charset = QByteArrayView(m_string).sliced(at + 8, end - at - 8);
        if (charset.compare("UTF-8", Qt::CaseInsensitive) != 0 && charset.compare("UTF8", Qt::CaseInsensitive) != 0)
            throw ImportError(line, QStringLiteral("charset %1 is not UTF-8").arg(shownBytes(charset)));
    }

    [[nodiscard]] static QString noteOf(const QByteArrayView bytes, const int line)
    {
        QString note;
        if (bytes.contains('\0') || !appendExchangeText(bytes, note, DecodedBreaks::AsWritten))
            throw ImportError(line, QStringLiteral("a translator comment is not UTF-8 text"));
        return note;
    }

    [[nodiscard]] static QString textOf(const QByteArrayView bytes, const int line, const DecodedBreaks breaks)
    {
        if (bytes.contains('\0'))
            throw ImportError(line, QStringLiteral("NUL in a string"));
        QString text;
        if (!appendExchangeText(bytes, text, breaks))
            throw ImportError(line, QStringLiteral("string is not UTF-8"));
        return text;
    }

    QByteArrayView m_bytes;
    EntryImport& m_import;
    qsizetype m_at = 0;
    int m_lineNumber = 0;
    QByteArrayView m_lineText;

    int m_messageLine = 0;
    // A "#, fuzzy" comment came before the message being read, or since the
    // last one.
    bool m_messageFuzzy = false;
    bool m_pendingFuzzy = false;
    // The translator comments before the message being read, one line
    // each, and those since; a message's are its note.
    QByteArray m_messageNote;
    QByteArray m_pendingNote;
    bool m_pendingHasNote = false;
    // The previous msgid read before the next message, the string its
    // continued lines go to, and the message's own.
    std::optional<QByteArray> m_pendingPrevious;
    QByteArray* m_previousCurrent = nullptr;
    std::optional<QByteArray> m_messagePrevious;
    bool m_hasContext = false;
    bool m_hasId = false;
    bool m_hasString = false;
    QByteArray m_context;
    QByteArray m_id;
    QByteArray m_string;
    QByteArray* m_current = nullptr;
    ImportRecord m_record;
};

} // namespace

void applyPoEdits(const QByteArrayView po, EntryImport& import)
{
    PoReader(po, import).run();
}

} // namespace exchange
