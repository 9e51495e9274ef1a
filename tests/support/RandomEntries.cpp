#include "support/RandomEntries.h"

#include "support/FileBuilder.h"

#include "text/Decimal.h"

#include <algorithm>
#include <numeric>

namespace testsupport {

namespace {

template <typename T> const T& pick(std::mt19937& random, const std::vector<T>& items)
{
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
}

const std::vector<char16_t> accents{0x00E9, 0x00C9, 0x0100, 0x0151, 0x00DF, 0x0141, 0x0142, 0x00FC, 0x00E7};
const std::vector<char16_t> outside{0x0416, 0x0436, 0x0444, 0x65E5, 0x672C, 0x4E2D, 0xAC00};

} // namespace

QString randomText(std::mt19937& random, const int maxLength, const TextMix& mix)
{
    const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
    QString out;
    std::uniform_int_distribution<int> kind(0, 9);
    while (out.size() < length) {
        switch (kind(random)) {
        case 0:
            if (mix.accents) {
                out += QChar(pick(random, accents));
                break;
            }
            [[fallthrough]];
        case 1:
            if (mix.outsideCodePage) {
                out += QChar(pick(random, outside));
                break;
            }
            [[fallthrough]];
        case 2:
            if (mix.emoji) {
                out += QChar(0xD83D);
                out += QChar(static_cast<char16_t>(0xDE00 + std::uniform_int_distribution<int>(0, 0x4F)(random)));
                break;
            }
            [[fallthrough]];
        case 3:
            if (mix.loneSurrogates && std::uniform_int_distribution<int>(0, 3)(random) == 0) {
                out += QChar(static_cast<char16_t>(std::uniform_int_distribution<int>(0xD800, 0xDFFF)(random)));
                break;
            }
            if (mix.controlCodes && std::uniform_int_distribution<int>(0, 2)(random) == 0) {
                out += std::uniform_int_distribution<int>(0, 1)(random)
                         ? QStringLiteral("\r\n")
                         : QString(QChar(static_cast<char16_t>(std::uniform_int_distribution<int>(1, 0x1F)(random))));
                break;
            }
            if (mix.nul && std::uniform_int_distribution<int>(0, 5)(random) == 0) {
                out += QChar(u'\0');
                break;
            }
            [[fallthrough]];
        default:
            out += QChar(static_cast<char16_t>(std::uniform_int_distribution<int>(0x20, 0x7E)(random)));
            break;
        }
    }
    return out;
}

xom::EntryTable randomEntries(std::mt19937& random, const int count, const TextMix& mix)
{
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), random);
    xom::EntryTable table;
    std::vector<QString> pool;
    for (const int number : numbers) {
        xom::Entry entry;
        entry.number = text::FormatDecimal(number);
        const int choice = std::uniform_int_distribution<int>(0, 9)(random);
        // Repeats and empties are what the string table has to share.
        entry.name = (choice == 0 && !pool.empty()) ? pick(random, pool) : randomText(random, 12, mix);
        entry.text = (choice == 1 && !pool.empty()) ? pick(random, pool)
                                                    : (choice == 2 ? QString() : randomText(random, 24, mix));
        if (std::uniform_int_distribution<int>(0, 4)(random) == 0)
            entry.mark = QStringLiteral("x");
        pool.push_back(entry.name);
        pool.push_back(entry.text);
        table.append(entry);
    }
    return table;
}

xom::LoadedFile randomLoadedFile(std::mt19937& random, const int count)
{
    xom::LoadedFile file;
    file.entries = randomEntries(random, count);
    file.model = modelForEntries(file.entries);
    return file;
}

xom::LanguageModel modelForEntries(const xom::EntryTable& entries, const QString& keptString)
{
    xom::LanguageModel model;
    const auto types = standardTypes(entries.entryCount());
    for (const TypeTableRecord& declared : types) {
        xom::XTypeCont type;
        type.name = declared.name;
        type.kind = xom::kindOfTypeName(declared.name);
        type.instanceCount = declared.instanceCount;
        type.guid = declared.guid;
        model.TypeTable.push_back(type);
    }
    model.StringResourceType = 2;
    // The list a load of the file would give: the kept string, then each
    // row's text and name; only its length and ends are kept.
    model.StringList.append(keptString);
    if (const int last = entries.entryCount() - 1; last >= 0) {
        model.StringList.append(entries.text(last).toString());
        model.StringList.append(entries.name(last).toString());
        model.StringList.count = 2 + 2 * entries.entryCount();
    }
    model.FileSize = 1000;
    return model;
}

namespace {

const std::vector<QString> words{
    QStringLiteral("the"),
    QStringLiteral("castle"),
    QStringLiteral("gate"),
    QStringLiteral("opens"),
    QStringLiteral("at"),
    QStringLiteral("dawn"),
    QStringLiteral("worm"),
    QStringLiteral("banana"),
    QStringLiteral("bomb"),
    QStringLiteral("river"),
    QStringLiteral("Ready"),
    QStringLiteral("fire"),
    QStringLiteral("team"),
    QStringLiteral("wins"),
    QStringLiteral("round"),
    QStringLiteral("sheep"),
};

// Words of one to five letters, so that the texts' images ("?? ???? ...")
// fall into a few hundred length patterns.
const std::vector<QString> alikeWords{
    QStringLiteral("\u0437\u0430\u043c\u043e\u043a"), // замок
    QStringLiteral("\u0434\u0432\u0435\u0440\u044c"), // дверь
    QStringLiteral("\u0436\u0443\u043a"),             // жук
    QStringLiteral("\u0440\u0435\u043a\u0430"),       // река
    QStringLiteral("\u043e\u0433\u043e\u043d\u044c"), // огонь
    QStringLiteral("\u043c\u0438\u0440"),             // мир
    QStringLiteral("\u0431\u0430\u043d\u0430\u043d"), // банан
    QStringLiteral("\u043e\u0432\u0446\u0430"),       // овца
    QStringLiteral("\u57ce"),
    QStringLiteral("\u9580\u958b"),
    QStringLiteral("\u6cb3\u6d41"),
    QStringLiteral("\u706b"),
    QStringLiteral("\u52dd\u5229\u3059\u308b"),
    QStringLiteral("\u7f8a"),
    QStringLiteral("\u591c\u660e\u3051"),
    QStringLiteral("\u7206\u5f3e"),
};

// A bijection of 0 .. count - 1 that scatters consecutive numbers.
int scramble(const int i, const int count)
{
    return static_cast<int>((static_cast<std::int64_t>(i) * 7919 + 13) % count);
}

// count entries in number order: distinct names "FE.Str" plus a number in
// scrambled order, texts of four of the sixteen words and the row's number
// modulo numbersBelow.
xom::EntryTable entriesOfWords(const int count, const std::vector<QString>& wordList, const int numbersBelow)
{
    xom::EntryTable table;
    table.rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int key = count % 7919 == 0 ? i : scramble(i, count);
        xom::Entry entry;
        entry.number = text::FormatDecimal(i + 1);
        entry.name = QStringLiteral("FE.Str") + QString::number(key);
        QString text;
        for (int w = 0; w < 4; ++w) {
            text += wordList[static_cast<std::size_t>((key >> (4 * w)) & 15)];
            text += u' ';
        }
        text += QString::number(i % numbersBelow);
        entry.text = std::move(text);
        table.append(entry);
    }
    return table;
}

QByteArray fileBytesOf(const xom::EntryTable& entries)
{
    std::vector<std::pair<QString, QString>> pairs;
    pairs.reserve(entries.rows.size());
    for (int row = 0; row < entries.entryCount(); ++row)
        pairs.emplace_back(entries.name(row).toString(), entries.text(row).toString());
    return simpleFile(pairs).bytes();
}

} // namespace

QStringList cellsOf(const xom::EntryTable& table)
{
    QStringList cells;
    for (int row = 0; row < table.entryCount(); ++row) {
        for (int column = 0; column < xom::ColumnCount; ++column)
            cells.append(table.cell(row, column));
    }
    return cells;
}

xom::EntryTable syntheticEntries(const int count)
{
    return entriesOfWords(count, words, count);
}

QByteArray syntheticFileBytes(const int count)
{
    return fileBytesOf(syntheticEntries(count));
}

xom::EntryTable alikeImagesEntries(const int count)
{
    return entriesOfWords(count, alikeWords, 100);
}

QByteArray alikeImagesFileBytes(const int count)
{
    return fileBytesOf(alikeImagesEntries(count));
}

} // namespace testsupport
