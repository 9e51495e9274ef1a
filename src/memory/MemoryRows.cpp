#include "memory/MemoryRows.h"

#include <QtEndian>

namespace memory::rows {

namespace {

// The code units of a text UTF-8 cannot hold, little-endian.
QByteArray unitsOf(const QString& text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}

QString textFromUnits(const QByteArray& bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    return text;
}

} // namespace

bool hasLoneSurrogate(const QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

const char* const UnitColumns = "SELECT sl.tag, tl.tag, u.source, u.target, u.source_units, u.target_units, "
                                "u.origin, u.entry, u.changed, u.approved FROM units u "
                                "JOIN languages sl ON sl.id = u.source_language "
                                "JOIN languages tl ON tl.id = u.target_language ";

std::int64_t sourceKey(const QStringView text)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 0x100000001b3u;
    }
    return static_cast<std::int64_t>(hash);
}

void bindText(
    SqliteStatement& statement, const int textIndex, const int unitsIndex, const QString& text, const QByteArray& utf8)
{
    statement.bind(textIndex, utf8);
    if (hasLoneSurrogate(text))
        statement.bindBlob(unitsIndex, unitsOf(text));
    else
        statement.bindNull(unitsIndex);
}

QString textAt(const SqliteStatement& statement, const int textColumn, const int unitsColumn)
{
    if (!statement.isNull(unitsColumn))
        return textFromUnits(statement.bytes(unitsColumn));
    return QString::fromUtf8(statement.bytes(textColumn));
}

MemoryUnit unitAt(const SqliteStatement& row)
{
    MemoryUnit unit;
    unit.sourceLanguage = QString::fromUtf8(row.bytes(0));
    unit.targetLanguage = QString::fromUtf8(row.bytes(1));
    unit.source = textAt(row, 2, 4);
    unit.target = textAt(row, 3, 5);
    unit.origin = QString::fromUtf8(row.bytes(6));
    unit.entryName = QString::fromUtf8(row.bytes(7));
    if (!row.isNull(8))
        unit.changed = QDateTime::fromSecsSinceEpoch(row.integer(8), Qt::UTC);
    unit.approved = row.integer(9) != 0;
    return unit;
}

QString quotedTerm(const QString& word)
{
    QString quoted = word;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace memory::rows
