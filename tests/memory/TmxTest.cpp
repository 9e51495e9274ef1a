// TMX written and read back exactly, the forms other tools write read as
// they mean them, malformed documents refused at their line, and both
// directions against a real client: translate-toolkit reads what the memory
// writes and the memory reads what translate-toolkit writes, and xmllint
// takes the export as well-formed XML.

#include "memory/TmxFile.h"

#include "exchange/ImportError.h"

#include "support/RandomEntries.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using memory::MemoryUnit;

const QDateTime Noon(QDate(2024, 2, 29), QTime(12, 0, 5), Qt::UTC);

MemoryUnit unitOf(const QString& source, const QString& target)
{
    MemoryUnit unit;
    unit.sourceLanguage = u"en"_s;
    unit.targetLanguage = u"de"_s;
    unit.source = source;
    unit.target = target;
    return unit;
}

struct HostileText {
    const char* what;
    QString text;
};

// Texts a careless writer or reader changes. Each goes through as source,
// target, origin and entry name.
const std::vector<HostileText>& hostileTexts()
{
    static const std::vector<HostileText> texts{
        {"CR", u"a\rb"_s},
        {"CR LF", u"line\r\nnext\r\n"_s},
        {"lone LF", u"a\nb"_s},
        {"CR CR LF LF", u"\r\r\n\n"_s},
        {"tabs", u"\tcol\tcol\t"_s},
        {"leading and trailing spaces", u"  both  "_s},
        {"only spaces", u"   "_s},
        {"empty", QString()},
        {"markup characters", u"&<>\"'"_s},
        {"ends a CDATA section", u"]]>"_s},
        {"entities as text", u"&amp; &#13; &lt;"_s},
        {"emoji", u"\U0001F600 \U0001F1E9\U0001F1EA"_s},
        {"astral CJK", u"\U00020BB7"_s},
        {"RTL marks", u"\u200Fשלום\u200E abc"_s},
        {"NBSP", u"a\u00A0b\u202Fc"_s},
        {"combining marks", u"e\u0301 a\u0308\u0323"_s},
        {"looks like markup", u"<b>bold</b> <ph>x</ph>"_s},
        {"BOM inside", u"\uFEFFstart"_s},
        {"highest allowed", u"\uFFFD\U0010FFFF"_s},
    };
    return texts;
}

std::vector<MemoryUnit> hostileUnits()
{
    std::vector<MemoryUnit> units;
    for (const HostileText& hostile : hostileTexts()) {
        MemoryUnit unit = unitOf(hostile.text, hostile.text);
        unit.origin = hostile.text;
        unit.entryName = hostile.text;
        units.push_back(unit);
    }
    return units;
}

std::vector<MemoryUnit> roundTrip(const std::vector<MemoryUnit>& units, int* leftOut = nullptr)
{
    const memory::TmxWritten written = memory::writeTmx(units);
    if (leftOut)
        *leftOut = written.unitsLeftOut;
    return memory::readTmx(written.bytes);
}

TEST(TmxRoundTrip, HostileTextsComeBackExactlyWhereverTheyStand)
{
    const std::vector<MemoryUnit> units = hostileUnits();
    int leftOut = -1;
    const std::vector<MemoryUnit> read = roundTrip(units, &leftOut);
    EXPECT_EQ(leftOut, 0);
    ASSERT_EQ(read.size(), units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        SCOPED_TRACE(hostileTexts()[i].what);
        EXPECT_EQ(read[i].source, units[i].source);
        EXPECT_EQ(read[i].target, units[i].target);
        EXPECT_EQ(read[i].origin, units[i].origin);
        EXPECT_EQ(read[i].entryName, units[i].entryName);
        EXPECT_TRUE(read[i] == units[i]);
    }
}

TEST(TmxRoundTrip, LanguagesDatesAndApprovalComeBack)
{
    const QString hostileLanguage = u"x-\"&<>'\t\r\n end"_s;
    std::vector<MemoryUnit> units;
    for (const auto& [source, target] : std::vector<std::pair<QString, QString>>{{u"en"_s, u"de"_s},
             {u"en"_s, u"pt-BR"_s}, {u"EN"_s, u"en"_s}, {u"fr"_s, hostileLanguage}, {hostileLanguage, u"ja"_s}}) {
        MemoryUnit unit = unitOf(u"s "_s + source, u"t "_s + target);
        unit.sourceLanguage = source;
        unit.targetLanguage = target;
        unit.approved = units.size() % 2 == 0;
        unit.changed = Noon.addDays(static_cast<int>(units.size()) * 400);
        units.push_back(unit);
    }
    units[1].changed = QDateTime(); // nobody said when
    units[2].changed = QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    units[3].changed = QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    // A time with an offset is kept as the same instant.
    units[4].changed = QDateTime(QDate(2024, 1, 1), QTime(1, 30), Qt::OffsetFromUTC, 2 * 3600);
    const std::vector<MemoryUnit> read = roundTrip(units);
    ASSERT_EQ(read.size(), units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].sourceLanguage, units[i].sourceLanguage);
        EXPECT_EQ(read[i].targetLanguage, units[i].targetLanguage);
        EXPECT_EQ(read[i].changed, units[i].changed) << read[i].changed.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(read[i].changed.isValid(), units[i].changed.isValid());
        EXPECT_EQ(read[i].approved, units[i].approved);
        EXPECT_TRUE(read[i] == units[i]);
    }
    EXPECT_EQ(read[4].changed.toUTC().time(), QTime(23, 30));
    // The header cannot name one source language: each unit names its own.
    const QByteArray bytes = memory::writeTmx(units).bytes;
    EXPECT_TRUE(bytes.contains(" srclang=\"*all*\" ") && bytes.contains("<tu srclang=\"EN\"")) << bytes.toStdString();
}

struct Unwritable {
    const char* what;
    MemoryUnit unit;
};

// Units with a character XML 1.0 cannot hold anywhere, or without a
// language: each is left out, the others written whole.
std::vector<Unwritable> unwritableUnits()
{
    const auto in = [](const QString& bad, const int field) {
        MemoryUnit unit = unitOf(u"ok"_s, u"ok"_s);
        QString* const fields[]
            = {&unit.source, &unit.target, &unit.origin, &unit.entryName, &unit.sourceLanguage, &unit.targetLanguage};
        *fields[field] += bad;
        return unit;
    };
    const QString loneHigh(QChar(u'\xD83D'));
    const QString loneLow(QChar(u'\xDE00'));
    MemoryUnit noSourceLanguage = unitOf(u"a"_s, u"b"_s);
    noSourceLanguage.sourceLanguage.clear();
    MemoryUnit noTargetLanguage = unitOf(u"a"_s, u"b"_s);
    noTargetLanguage.targetLanguage.clear();
    return {
        {"lone high surrogate in the source", in(loneHigh, 0)},
        {"lone high surrogate at the target's end", in(loneHigh, 1)},
        {"lone low surrogate in the origin", in(loneLow + u"x"_s, 2)},
        {"swapped pair in the entry name", in(loneLow + loneHigh, 3)},
        {"U+0001 in the source", in(u"\u0001"_s, 0)},
        {"U+0000 in the target", in(QString(QChar(u'\0')), 1)},
        {"U+001F in the entry name", in(u"\u001F"_s, 3)},
        {"U+FFFF in the target", in(u"\uFFFF"_s, 1)},
        {"U+FFFE in the source language", in(u"\uFFFE"_s, 4)},
        {"escape in the target language", in(u"\u001B"_s, 5)},
        {"no source language", noSourceLanguage},
        {"no target language", noTargetLanguage},
    };
}

TEST(TmxRoundTrip, UnitsXmlCannotHoldAreLeftOutAndCountedTheRestWrittenWhole)
{
    for (const Unwritable& bad : unwritableUnits()) {
        SCOPED_TRACE(bad.what);
        const MemoryUnit before = unitOf(u"before"_s, u"vorher"_s);
        const MemoryUnit after = unitOf(u"after"_s, u"nachher"_s);
        int leftOut = -1;
        std::vector<MemoryUnit> read;
        ASSERT_NO_THROW(read = roundTrip({before, bad.unit, after}, &leftOut));
        EXPECT_EQ(leftOut, 1);
        ASSERT_EQ(read.size(), 2u);
        EXPECT_TRUE(read[0] == before);
        EXPECT_TRUE(read[1] == after);
    }
    std::vector<MemoryUnit> all;
    for (const Unwritable& bad : unwritableUnits())
        all.push_back(bad.unit);
    int leftOut = -1;
    EXPECT_TRUE(roundTrip(all, &leftOut).empty());
    EXPECT_EQ(leftOut, static_cast<int>(all.size()));
}

// Independent of the writer: a text XML 1.0 can hold is well-formed UTF-16
// of characters XML allows.
bool xmlCanHold(const QString& text)
{
    if (!text.isValidUtf16())
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF)
            return false;
    }
    return true;
}

TEST(TmxRoundTrip, RandomUnitsComeBackExceptExactlyThoseXmlCannotHold)
{
    std::mt19937 random(20240229);
    testsupport::TextMix mix;
    mix.controlCodes = true;
    mix.loneSurrogates = true;
    mix.nul = true;
    const QString languages[] = {u"en"_s, u"de"_s, u"pt-BR"_s, u"zh-Hant-TW"_s};
    std::vector<MemoryUnit> units;
    std::vector<MemoryUnit> writable;
    for (int i = 0; i < 3000; ++i) {
        MemoryUnit unit;
        unit.sourceLanguage = languages[random() % 2];
        unit.targetLanguage = languages[2 + random() % 2];
        unit.source = testsupport::randomText(random, 40, mix);
        unit.target = testsupport::randomText(random, 40, mix);
        unit.origin = random() % 3 == 0 ? QString() : testsupport::randomText(random, 12, mix);
        unit.entryName = random() % 3 == 0 ? QString() : testsupport::randomText(random, 12, mix);
        if (random() % 4 != 0)
            unit.changed = QDateTime::fromSecsSinceEpoch(random() % 4'000'000'000LL, Qt::UTC);
        unit.approved = random() % 2 == 0;
        units.push_back(unit);
        if (xmlCanHold(unit.source) && xmlCanHold(unit.target) && xmlCanHold(unit.origin) && xmlCanHold(unit.entryName))
            writable.push_back(unit);
    }
    // Both kinds, in numbers.
    ASSERT_GT(writable.size(), units.size() / 20);
    ASSERT_LT(writable.size(), units.size() - units.size() / 20);
    int leftOut = -1;
    const std::vector<MemoryUnit> read = roundTrip(units, &leftOut);
    EXPECT_EQ(leftOut, static_cast<int>(units.size() - writable.size()));
    ASSERT_EQ(read.size(), writable.size());
    for (std::size_t i = 0; i < read.size(); ++i)
        ASSERT_TRUE(read[i] == writable[i]) << i;
}

TEST(TmxWrite, TheDocumentAsWritten)
{
    MemoryUnit approved = unitOf(u"Open\r\nfile"_s, u"Datei <öffnen>"_s);
    approved.origin = u"lang_de.xom"_s;
    approved.entryName = u"FE.Open"_s;
    approved.changed = Noon;
    approved.approved = true;
    const MemoryUnit plain = unitOf(u"a\tb"_s, QString());
    const memory::TmxWritten written = memory::writeTmx({approved, plain});
    EXPECT_EQ(written.unitsLeftOut, 0);
    EXPECT_EQ(written.bytes.toStdString(),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<tmx version=\"1.4\">\n"
        "<header creationtool=\"Ludra Language Editor\" creationtoolversion=\"" LUDRA_TEST_VERSION "\" "
        "datatype=\"plaintext\" segtype=\"sentence\" adminlang=\"en\" srclang=\"en\" o-tmf=\"ludra\"/>\n"
        "<body>\n"
        "<tu changedate=\"20240229T120005Z\">\n"
        "<prop type=\"x-origin\">lang_de.xom</prop>\n"
        "<prop type=\"x-entry\">FE.Open</prop>\n"
        "<prop type=\"x-approved\">yes</prop>\n"
        "<tuv xml:lang=\"en\"><seg>Open&#13;\nfile</seg></tuv>\n"
        "<tuv xml:lang=\"de\"><seg>Datei &lt;\xC3\xB6"
        "ffnen&gt;</seg></tuv>\n"
        "</tu>\n"
        "<tu>\n"
        "<tuv xml:lang=\"en\"><seg>a\tb</seg></tuv>\n"
        "<tuv xml:lang=\"de\"><seg></seg></tuv>\n"
        "</tu>\n"
        "</body>\n"
        "</tmx>\n");
}

TEST(TmxWrite, ChangeDatesAreTheUtcTimesQtGives)
{
    // Random instants over the years TMX can write, and the days around
    // the ends of months, leap years and the epoch.
    std::mt19937_64 random(7);
    const qint64 first = QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 last = QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC).toSecsSinceEpoch();
    std::vector<qint64> seconds{first, last, -1, 0, 951782400, 951868799, 4107542400, -2203891200};
    for (int i = 0; i < 2000; ++i)
        seconds.push_back(first + static_cast<qint64>(random() % static_cast<std::uint64_t>(last - first + 1)));
    std::vector<MemoryUnit> units;
    for (const qint64 second : seconds) {
        MemoryUnit unit = unitOf(u"s"_s, u"t"_s);
        unit.changed = QDateTime::fromSecsSinceEpoch(second, Qt::UTC);
        units.push_back(unit);
    }
    const QByteArray bytes = memory::writeTmx(units).bytes;
    qsizetype at = 0;
    for (const MemoryUnit& unit : units) {
        at = bytes.indexOf("changedate=\"", at);
        ASSERT_GE(at, 0);
        at += 12;
        EXPECT_EQ(bytes.mid(at, 16), unit.changed.toString(u"yyyyMMdd'T'HHmmss'Z'"_s).toLatin1());
    }
    EXPECT_TRUE(memory::readTmx(bytes) == units);

    // Milliseconds go, rounded down; years TMX cannot write leave the date out.
    MemoryUnit late = unitOf(u"s"_s, u"t"_s);
    late.changed = QDateTime::fromMSecsSinceEpoch(-1, Qt::UTC);
    EXPECT_EQ(
        memory::readTmx(memory::writeTmx({late}).bytes).at(0).changed, QDateTime::fromSecsSinceEpoch(-1, Qt::UTC));
    for (const QDate date : {QDate(0, 12, 31), QDate(-40, 1, 1), QDate(10000, 1, 1)}) {
        late.changed = QDateTime(date, QTime(12, 0), Qt::UTC);
        const QByteArray written = memory::writeTmx({late}).bytes;
        EXPECT_FALSE(written.contains("changedate")) << written.toStdString();
    }
}

// A unit as "en>de source|target", to compare lists of them at a glance.
std::string shown(const MemoryUnit& unit)
{
    return (unit.sourceLanguage + u'>' + unit.targetLanguage + u' ' + unit.source + u'|' + unit.target).toStdString();
}

std::vector<std::string> shownUnits(const QByteArray& tmx)
{
    std::vector<std::string> units;
    for (const MemoryUnit& unit : memory::readTmx(tmx))
        units.push_back(shown(unit));
    return units;
}

QByteArray tmxWith(const QByteArray& header, const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n" + header + "\n<body>\n" + body
         + "\n</body>\n</tmx>\n";
}

QByteArray tuOf(const QByteArray& source, const QByteArray& target)
{
    return "<tu><tuv xml:lang=\"en\"><seg>" + source + "</seg></tuv><tuv xml:lang=\"de\"><seg>" + target
         + "</seg></tuv></tu>";
}

struct ReadCase {
    const char* what;
    QByteArray tmx;
    std::vector<std::string> units;
};

const QByteArray EnHeader = "<header srclang=\"en\" datatype=\"plaintext\"/>";

std::vector<ReadCase> readCases()
{
    return {
        {"translate-toolkit's layout: a DOCTYPE, indentation between the elements",
            "<?xml version='1.0' encoding='utf-8'?>\n<!DOCTYPE tmx SYSTEM \"tmx14.dtd\">\n<tmx version=\"1.4\">\n"
            "  <header creationtool=\"Translate Toolkit\" srclang=\"en\" datatype=\"PlainText\"/>\n  <body>\n"
            "    <tu>\n      <tuv xml:lang=\"en\">\n        <seg> a </seg>\n      </tuv>\n"
            "      <tuv xml:lang=\"de\">\n        <seg>b&#13;\nc</seg>\n      </tuv>\n    </tu>\n  </body>\n</tmx>\n",
            {"en>de  a |b\r\nc"}},
        {"TMX 1.1: lang, languages kept as written",
            "<tmx version=\"1.1\"><header srclang=\"EN-US\"/><body><tu><tuv lang=\"EN-US\"><seg>a</seg></tuv>"
            "<tuv lang=\"DE-DE\"><seg>b</seg></tuv></tu></body></tmx>",
            {"EN-US>DE-DE a|b"}},
        {"the source language matched whatever its case",
            tmxWith("<header srclang=\"en-us\"/>",
                "<tu><tuv xml:lang=\"de-DE\"><seg>b</seg></tuv><tuv xml:lang=\"EN-us\"><seg>a</seg></tuv></tu>"),
            {"EN-us>de-DE a|b"}},
        {"*all*: the first tuv is the source",
            tmxWith("<header srclang=\"*all*\"/>",
                "<tu><tuv xml:lang=\"fr\"><seg>f</seg></tuv><tuv xml:lang=\"en\"><seg>e</seg></tuv></tu>"),
            {"fr>en f|e"}},
        {"no srclang anywhere: the first tuv is the source",
            tmxWith(
                "<header/>", "<tu><tuv xml:lang=\"fr\"><seg>f</seg></tuv><tuv xml:lang=\"en\"><seg>e</seg></tuv></tu>"),
            {"fr>en f|e"}},
        {"a tu's srclang before the header's",
            tmxWith(EnHeader, "<tu srclang=\"de\"><tuv xml:lang=\"en\"><seg>e</seg></tuv>"
                              "<tuv xml:lang=\"de\"><seg>d</seg></tuv></tu>"
                                  + tuOf("x", "y")),
            {"de>en d|e", "en>de x|y"}},
        {"a tu's srclang of *all*",
            tmxWith(EnHeader, "<tu srclang=\"*ALL*\"><tuv xml:lang=\"de\"><seg>d</seg></tuv>"
                              "<tuv xml:lang=\"en\"><seg>e</seg></tuv></tu>"),
            {"de>en d|e"}},
        {"a unit for each target, in order",
            tmxWith(EnHeader, "<tu><tuv xml:lang=\"fr\"><seg>f</seg></tuv><tuv xml:lang=\"en\"><seg>e</seg></tuv>"
                              "<tuv xml:lang=\"de\"><seg>d</seg></tuv><tuv xml:lang=\"en\"><seg>e2</seg></tuv></tu>"),
            {"en>fr e|f", "en>de e|d", "en>en e|e2"}},
        {"a tu without its source or without a target is passed over",
            tmxWith(EnHeader, "<tu><tuv xml:lang=\"fr\"><seg>f</seg></tuv><tuv xml:lang=\"de\"><seg>d</seg></tuv></tu>"
                              "<tu><tuv xml:lang=\"en\"><seg>alone</seg></tuv></tu><tu/>"
                                  + tuOf("x", "y")),
            {"en>de x|y"}},
        {"inline codes give their native code, hi its text",
            tmxWith(EnHeader,
                tuOf("Click <bpt i=\"1\" x=\"1\">&lt;b&gt;</bpt>here<ept i=\"1\">&lt;/b&gt;</ept> <ph x=\"2\">{0}</ph>"
                     "<it pos=\"begin\">&lt;i&gt;</it><ut>\\x</ut> <hi type=\"x\">hi <ph>%s</ph></hi>",
                    "<bpt i=\"1\"/>leer<ept i=\"1\"/>")),
            {"en>de Click <b>here</b> {0}<i>\\x hi %s|leer"}},
        {"a sub's text is not the segment's",
            tmxWith(
                EnHeader, tuOf("See <ph>&lt;img alt=\"<sub>Alt <hi>text</hi> <sub>deeper</sub></sub>\"&gt;</ph> now",
                              "<bpt i=\"1\">{<sub>s</sub>}</bpt>x<ept i=\"1\">{/}</ept>")),
            {"en>de See <img alt=\"\"> now|{}x{/}"}},
        {"CDATA, references and line breaks as XML gives them",
            tmxWith(EnHeader, tuOf("a<![CDATA[<&>]]>&#x1F600;&#13;\r\nb\rc", "&quot;&apos;")),
            {"en>de a<&>\U0001F600\r\nb\nc|\"'"}},
        {"empty segments",
            tmxWith(EnHeader, "<tu><tuv xml:lang=\"en\"><seg/></tuv><tuv xml:lang=\"de\"><seg></seg></tuv></tu>"),
            {"en>de |"}},
        {"notes, properties and elements this reader does not know are passed over",
            tmxWith("<header srclang=\"en\"><prop type=\"x-origin\">no</prop><note>n</note></header>",
                "<tu tuid=\"7\"><note>n</note><prop type=\"x-other\">o</prop><x:y xmlns:x=\"urn:x\"><x:tuv/></x:y>"
                "<tuv xml:lang=\"en\"><prop type=\"x\">p</prop><note>n</note><seg>s</seg></tuv>"
                "<tuv xml:lang=\"de\"><seg>t</seg><note>after</note></tuv></tu><!-- c --><?pi x?>"),
            {"en>de s|t"}},
        {"a UTF-8 byte-order mark", "\xEF\xBB\xBF" + tmxWith(EnHeader, tuOf("\xC3\xA4", "b")), {"en>de \u00E4|b"}},
    };
}

TEST(TmxRead, FormsOtherToolsWrite)
{
    for (const ReadCase& read : readCases()) {
        SCOPED_TRACE(read.what);
        try {
            EXPECT_EQ(shownUnits(read.tmx), read.units);
        } catch (const exchange::ImportError& error) {
            ADD_FAILURE() << "refused at line " << error.line() << ": " << error.what();
        }
    }
}

TEST(TmxRead, Utf16WithItsByteOrderMark)
{
    const QString text
        = QString::fromUtf8(tmxWith(EnHeader, tuOf("\xF0\x9F\x98\x80 a", "b")).replace("UTF-8", "UTF-16"));
    for (const auto encoding : {QStringEncoder::Utf16LE, QStringEncoder::Utf16BE}) {
        const QByteArray bytes = QStringEncoder(encoding, QStringEncoder::Flag::WriteBom)(text);
        EXPECT_EQ(shownUnits(bytes), std::vector<std::string>{"en>de \U0001F600 a|b"});
    }
}

TEST(TmxRead, PropertiesAndDates)
{
    const QByteArray tmx = tmxWith(EnHeader,
        "<tu changedate=\"20240229T120005Z\" creationdate=\"20000101T000000Z\">"
        "<prop type=\"x-origin\">o &amp; &#13;</prop><prop type=\"x-entry\">FE.E</prop>"
        "<prop type=\"x-approved\">yes</prop><tuv xml:lang=\"en\"><seg>s</seg></tuv>"
        "<tuv xml:lang=\"de\"><prop type=\"x-entry\">not the unit's</prop><seg>t</seg></tuv>"
        "<tuv xml:lang=\"fr\"><seg>u</seg></tuv></tu>\n"
        "<tu creationdate=\"20000101T000000Z\"><prop type=\"x-approved\">no</prop>"
        "<tuv xml:lang=\"en\"><seg>s</seg></tuv><tuv xml:lang=\"de\"><seg>t</seg></tuv></tu>\n"
        "<tu changedate=\"2024-02-29T12:00:05Z\"><tuv xml:lang=\"en\"><seg>s</seg></tuv>"
        "<tuv xml:lang=\"de\"><seg>t</seg></tuv></tu>\n"
        "<tu changedate=\"20240230T120000Z\" creationdate=\"20241301T000000Z\"><tuv xml:lang=\"en\"><seg>s</seg>"
        "</tuv><tuv xml:lang=\"de\"><seg>t</seg></tuv></tu>\n");
    const std::vector<MemoryUnit> units = memory::readTmx(tmx);
    ASSERT_EQ(units.size(), 5u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(units[i].origin, u"o & \r"_s);
        EXPECT_EQ(units[i].entryName, u"FE.E"_s);
        EXPECT_TRUE(units[i].approved);
        EXPECT_EQ(units[i].changed, Noon);
        EXPECT_EQ(units[i].changed.toString(Qt::ISODate), u"2024-02-29T12:00:05Z"_s);
    }
    EXPECT_EQ(units[1].targetLanguage, u"fr"_s);
    EXPECT_FALSE(units[2].approved);
    EXPECT_TRUE(units[2].origin.isEmpty());
    EXPECT_EQ(units[2].changed, QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC));
    // Dates in other forms, or no dates at all, say nothing.
    EXPECT_FALSE(units[3].changed.isValid());
    EXPECT_FALSE(units[4].changed.isValid());
}

struct Refusal {
    const char* what;
    QByteArray tmx;
    int line;
};

std::vector<Refusal> refusals()
{
    const QByteArray head = "<?xml version=\"1.0\"?>\n<tmx version=\"1.4\">\n<header srclang=\"en\"/>\n<body>\n";
    const QByteArray good = "<tu><tuv xml:lang=\"en\"><seg>a</seg></tuv><tuv xml:lang=\"de\"><seg>b</seg></tuv></tu>\n";
    return {
        {"empty", "", 1},
        {"only a declaration", "<?xml version=\"1.0\"?>\n", 2},
        {"another root", "<?xml version=\"1.0\"?>\n\n<xliff version=\"1.2\">\n</xliff>\n", 3},
        {"TMX 2", "<tmx\n version=\"2.0\">\n</tmx>\n", 1},
        {"a tag closed by another", head + good + "<tu>\n</body>\n</tmx>\n", 7},
        {"ends inside a seg", head + "<tu><tuv xml:lang=\"en\"><seg>a\nb", 6},
        {"an undefined entity", head + good + "<tu><tuv xml:lang=\"en\"><seg>&nbsp;</seg></tuv></tu>\n", 6},
        {"a character XML does not allow", head + "<tu><tuv xml:lang=\"en\"><seg>&#1;</seg></tuv></tu>\n", 5},
        {"bytes that are not UTF-8", head + good + good + "<tu><tuv xml:lang=\"en\"><seg>\xFF</seg>", 7},
        {"entities declared", "<?xml version=\"1.0\"?>\n<!DOCTYPE tmx [\n<!ENTITY a \"aaaa\">\n]>\n<tmx><body/></tmx>",
            3},
        {"a tuv without a language", head + good + "<tu>\n<tuv><seg>a</seg></tuv></tu>\n", 7},
        {"a tuv with an empty language", head + "<tu>\n<tuv xml:lang=\"en\"><seg>a</seg></tuv>\n<tuv xml:lang=\"\">",
            7},
        {"a tuv without a seg", head + "<tu>\n<tuv xml:lang=\"en\">\n<note>n</note>\n</tuv>\n</tu>\n", 6},
        {"an empty tuv", head + good + good + "<tu><tuv xml:lang=\"de\"/></tu>\n", 7},
        {"a second seg", head + "<tu><tuv xml:lang=\"en\"><seg>a</seg>\n<seg>b</seg></tuv></tu>\n", 6},
        {"a tu inside a tu", head + "<tu>\n<tuv xml:lang=\"en\"><seg>a</seg></tuv>\n<tu>", 7},
        {"a tu outside the body", "<tmx version=\"1.4\">\n<header srclang=\"en\">\n<tu/>\n</header>\n</tmx>", 3},
        {"a tu in the root", "<tmx version=\"1.4\">\n<header srclang=\"en\"/>\n<tu/>\n</tmx>", 3},
        {"a tu inside another element of the body", head + "<group>\n<tu/>", 6},
        {"a tuv in the body", head + good + "<tuv xml:lang=\"en\"><seg>a</seg></tuv>\n", 6},
        {"a tuv inside a tuv", head + "<tu><tuv xml:lang=\"en\">\n<tuv xml:lang=\"de\">", 6},
        {"a seg in a tu", head + "<tu>\n<seg>a</seg></tu>\n", 6},
        {"a seg inside a seg", head + "<tu><tuv xml:lang=\"en\"><seg>a\n<seg>b</seg>", 6},
        {"a tuv inside a seg", head + "<tu><tuv xml:lang=\"en\"><seg>a\n<tuv xml:lang=\"de\">", 6},
        {"markup that is no inline code", head + "<tu><tuv xml:lang=\"en\"><seg><ph>\n<b>x</b></ph></seg>", 6},
        {"a tu inside a sub", head + "<tu><tuv xml:lang=\"en\"><seg><ph><sub>\n\n<tu/>", 7},
    };
}

TEST(TmxRead, MalformedDocumentsAreRefusedAtTheirLine)
{
    for (const Refusal& refusal : refusals()) {
        SCOPED_TRACE(refusal.what);
        try {
            const std::vector<MemoryUnit> units = memory::readTmx(refusal.tmx);
            ADD_FAILURE() << "read " << units.size() << " units";
        } catch (const exchange::ImportError& error) {
            EXPECT_EQ(error.line(), refusal.line) << error.what();
            EXPECT_FALSE(error.reason().isEmpty());
        }
    }
}

// The clients, run independently of the user's locale and home.
class TmxClients : public testing::Test {
protected:
    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    Run run(const QString& program, const QStringList& arguments, const QByteArray& input = {}) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        environment.insert(u"PYTHONIOENCODING"_s, u"utf-8"_s);
        environment.insert(u"PYTHONNOUSERSITE"_s, u"1"_s);
        environment.insert(u"HOME"_s, m_dir.path());
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        process.write(input);
        process.closeWriteChannel();
        Run result;
        if (!process.waitForFinished(120'000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        if (process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    // A Python that has translate-toolkit: the system's, where the setup
    // installs it, before whichever comes first on the path.
    QString python() const
    {
        for (const QString& candidate : {QStandardPaths::findExecutable(u"python3"_s, {u"/usr/bin"_s}),
                 QStandardPaths::findExecutable(u"python3"_s)}) {
            if (!candidate.isEmpty() && run(candidate, {u"-c"_s, u"import translate.storage.tmx"_s}).exitCode == 0)
                return candidate;
        }
        return {};
    }

    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The units translate-toolkit reads in a file: [source language, target
    // language, source, target] each.
    std::vector<QStringList> clientRead(const QString& python, const QString& file) const
    {
        const Run read = run(python, {QStringLiteral(LUDRA_TMX_CLIENT), u"read"_s, file});
        EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
        std::vector<QStringList> units;
        for (const QJsonValue unit : QJsonDocument::fromJson(read.out).array()) {
            QStringList fields;
            for (const QJsonValue field : unit.toArray())
                fields.append(field.toString());
            units.push_back(fields);
        }
        return units;
    }

    QTemporaryDir m_dir;
};

TEST_F(TmxClients, TranslateToolkitReadsTheTextsWeWrite)
{
    const QString client = python();
    if (client.isEmpty())
        GTEST_SKIP() << "translate-toolkit is missing: run scripts/setup.sh";
    std::vector<MemoryUnit> units = hostileUnits();
    units[1].targetLanguage = u"pt-BR"_s;
    write(path(u"ours.tmx"_s), memory::writeTmx(units).bytes);
    const std::vector<QStringList> read = clientRead(client, path(u"ours.tmx"_s));
    ASSERT_EQ(read.size(), units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        SCOPED_TRACE(hostileTexts()[i].what);
        const MemoryUnit& unit = units[i];
        EXPECT_EQ(read[i], (QStringList{unit.sourceLanguage, unit.targetLanguage, unit.source, unit.target}));
    }
}

TEST_F(TmxClients, WeReadTheTextsTranslateToolkitWrites)
{
    const QString client = python();
    if (client.isEmpty())
        GTEST_SKIP() << "translate-toolkit is missing: run scripts/setup.sh";
    QJsonArray pairs;
    for (const HostileText& hostile : hostileTexts())
        pairs.append(QJsonArray{hostile.text, u"«"_s + hostile.text + u"»"_s});
    // What it cannot write it drops: a control character goes.
    pairs.append(QJsonArray{u"bell\u0007here"_s, u"\u0001"_s});
    const Run written = run(client, {QStringLiteral(LUDRA_TMX_CLIENT), u"write"_s, path(u"theirs.tmx"_s)},
        QJsonDocument(pairs).toJson(QJsonDocument::Compact));
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    QFile file(path(u"theirs.tmx"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<MemoryUnit> ours;
    try {
        ours = memory::readTmx(file.readAll());
    } catch (const exchange::ImportError& error) {
        FAIL() << "refused at line " << error.line() << ": " << error.what();
    }
    const std::vector<QStringList> theirs = clientRead(client, path(u"theirs.tmx"_s));
    ASSERT_EQ(ours.size(), static_cast<std::size_t>(pairs.size()));
    ASSERT_EQ(theirs.size(), ours.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        const MemoryUnit& unit = ours[i];
        SCOPED_TRACE(i < hostileTexts().size() ? hostileTexts()[i].what : "control characters");
        EXPECT_EQ(theirs[i], (QStringList{unit.sourceLanguage, unit.targetLanguage, unit.source, unit.target}));
        if (i < hostileTexts().size()) {
            EXPECT_EQ(unit.source, hostileTexts()[i].text);
            EXPECT_EQ(unit.target, u"«"_s + hostileTexts()[i].text + u"»"_s);
        }
    }
    EXPECT_EQ(ours.back().source, u"bellhere"_s);
    EXPECT_EQ(ours.back().target, QString());
}

TEST_F(TmxClients, XmllintTakesWhatWeWrite)
{
    const QString xmllint = QStandardPaths::findExecutable(u"xmllint"_s);
    if (xmllint.isEmpty())
        GTEST_SKIP() << "xmllint is missing: run scripts/setup.sh";
    std::vector<MemoryUnit> units = hostileUnits();
    for (const Unwritable& bad : unwritableUnits())
        units.push_back(bad.unit);
    MemoryUnit dated = unitOf(u"x"_s, u"y"_s);
    dated.changed = Noon;
    dated.approved = true;
    units.push_back(dated);
    write(path(u"ours.tmx"_s), memory::writeTmx(units).bytes);
    const Run lint = run(xmllint, {u"--noout"_s, path(u"ours.tmx"_s)});
    EXPECT_EQ(lint.exitCode, 0) << lint.err.toStdString();
    EXPECT_TRUE(lint.err.isEmpty()) << lint.err.toStdString();
}

} // namespace
