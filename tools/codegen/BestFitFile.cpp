#include "BestFitFile.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

namespace codegen {

namespace {

// The fields of one line that holds more than a comment.
struct Record {
    int line = 0;
    std::vector<std::string> fields;
};

std::vector<Record> readRecords(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw BestFitError(path.string() + ": cannot be read");
    std::vector<Record> records;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        text.erase(std::find(text.begin(), text.end(), ';'), text.end());
        // Fields are split by spaces and tabs; a CR before the LF is one more.
        std::replace_if(
            text.begin(), text.end(), [](const char c) { return c == '\t' || c == '\r'; }, ' ');
        std::istringstream fields(text);
        Record record{line, {std::istream_iterator<std::string>(fields), std::istream_iterator<std::string>()}};
        if (record.fields.empty())
            continue;
        const bool end = record.fields.front() == "ENDCODEPAGE";
        records.push_back(std::move(record));
        if (end)
            break;
    }
    return records;
}

class RecordReader {
public:
    RecordReader(std::string name, std::vector<Record> records)
        : m_name(std::move(name))
        , m_records(std::move(records))
    {
    }

    [[nodiscard]] bool atEnd() const noexcept { return m_next == m_records.size(); }

    const Record& next()
    {
        if (atEnd())
            fail("the file ends early");
        return m_records[m_next++];
    }

    // The next record, which must have count fields.
    const Record& next(const std::size_t count)
    {
        const Record& record = next();
        if (record.fields.size() != count)
            fail(record, "expected " + std::to_string(count) + " fields");
        return record;
    }

    // A number field: "0x" hexadecimal, else decimal; at most max.
    unsigned number(const Record& record, const std::size_t field, const unsigned max) const
    {
        std::string_view text = record.fields[field];
        int base = 10;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            text.remove_prefix(2);
            base = 16;
        }
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
        if (error != std::errc() || end != text.data() + text.size() || value > max)
            fail(record, "bad number \"" + record.fields[field] + "\"");
        return value;
    }

    [[noreturn]] void fail(const Record& record, const std::string& message) const
    {
        throw BestFitError(m_name + ":" + std::to_string(record.line) + ": " + message);
    }
    [[noreturn]] void fail(const std::string& message) const { throw BestFitError(m_name + ": " + message); }

private:
    std::string m_name;
    std::vector<Record> m_records;
    std::size_t m_next = 0;
};

void readSingleBytes(RecordReader& reader, const Record& tag, BestFitFile& file)
{
    const unsigned count = reader.number(tag, 1, 256);
    for (unsigned i = 0; i < count; ++i) {
        const Record& record = reader.next(2);
        const unsigned byte = reader.number(record, 0, 0xFF);
        if (file.singleBytes[byte])
            reader.fail(record, "byte mapped twice");
        file.singleBytes[byte] = static_cast<char16_t>(reader.number(record, 1, 0xFFFF));
    }
}

void readPairs(RecordReader& reader, const Record& tag, BestFitFile& file)
{
    file.doubleByte = true;
    const unsigned rangeCount = reader.number(tag, 1, 128);
    for (unsigned range = 0; range < rangeCount; ++range) {
        const Record& bounds = reader.next(2);
        const unsigned first = reader.number(bounds, 0, 0xFF);
        const unsigned last = reader.number(bounds, 1, 0xFF);
        if (first < 0x80 || last < first || (!file.leadRanges.empty() && first <= file.leadRanges.back().last))
            reader.fail(bounds, "bad lead byte range");
        file.leadRanges.push_back({static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(last)});
        for (unsigned lead = first; lead <= last; ++lead) {
            const Record& table = reader.next(2);
            if (table.fields[0] != "DBCSTABLE")
                reader.fail(table, "expected DBCSTABLE");
            const unsigned count = reader.number(table, 1, 256);
            for (unsigned i = 0; i < count; ++i) {
                const Record& record = reader.next(2);
                const unsigned trail = reader.number(record, 0, 0xFF);
                file.pairs.push_back({static_cast<std::uint16_t>(lead << 8 | trail),
                    static_cast<char16_t>(reader.number(record, 1, 0xFFFF))});
            }
        }
    }
    std::sort(file.pairs.begin(), file.pairs.end(), [](const auto& a, const auto& b) { return a.bytes < b.bytes; });
    if (std::adjacent_find(
            file.pairs.begin(), file.pairs.end(), [](const auto& a, const auto& b) { return a.bytes == b.bytes; })
        != file.pairs.end())
        reader.fail(tag, "a byte pair is mapped twice");
}

void readWide(RecordReader& reader, const Record& tag, BestFitFile& file)
{
    const unsigned count = reader.number(tag, 1, 0x10000);
    for (unsigned i = 0; i < count; ++i) {
        const Record& record = reader.next(2);
        file.wide.push_back({static_cast<char16_t>(reader.number(record, 0, 0xFFFF)),
            static_cast<std::uint16_t>(reader.number(record, 1, file.doubleByte ? 0xFFFF : 0xFF))});
    }
    std::sort(file.wide.begin(), file.wide.end(), [](const auto& a, const auto& b) { return a.unit < b.unit; });
    if (std::adjacent_find(
            file.wide.begin(), file.wide.end(), [](const auto& a, const auto& b) { return a.unit == b.unit; })
        != file.wide.end())
        reader.fail(tag, "a unit is mapped twice");
}

} // namespace

bool BestFitFile::isLeadByte(const unsigned byte) const noexcept
{
    return std::any_of(leadRanges.begin(), leadRanges.end(),
        [byte](const LeadRange& range) { return byte >= range.first && byte <= range.last; });
}

std::optional<char16_t> BestFitFile::decode(const std::uint16_t bytes) const
{
    if (bytes < 0x100)
        return isLeadByte(bytes) ? std::nullopt : singleBytes[bytes];
    const auto found = std::lower_bound(pairs.begin(), pairs.end(), bytes,
        [](const PairMapping& pair, const std::uint16_t b) { return pair.bytes < b; });
    if (found == pairs.end() || found->bytes != bytes)
        return std::nullopt;
    return found->unit;
}

BestFitFile readBestFitFile(const std::filesystem::path& path)
{
    RecordReader reader(path.filename().string(), readRecords(path));
    BestFitFile file;
    const Record& codePage = reader.next(2);
    if (codePage.fields[0] != "CODEPAGE")
        reader.fail(codePage, "expected CODEPAGE");
    file.number = static_cast<int>(reader.number(codePage, 1, 65535));
    bool seenSingleBytes = false;
    bool seenWide = false;
    for (;;) {
        const Record& tag = reader.next();
        const std::string& name = tag.fields[0];
        if (name == "ENDCODEPAGE")
            break;
        if (tag.fields.size() != (name == "CPINFO" ? 4 : 2))
            reader.fail(tag, "unexpected record \"" + name + "\"");
        if (name == "CPINFO") {
            if (reader.number(tag, 1, 2) == 0)
                reader.fail(tag, "bad character size");
            file.defaultByte = static_cast<std::uint8_t>(reader.number(tag, 2, 0xFF));
            file.defaultUnit = static_cast<char16_t>(reader.number(tag, 3, 0xFFFF));
        } else if (name == "MBTABLE") {
            readSingleBytes(reader, tag, file);
            seenSingleBytes = true;
        } else if (name == "DBCSRANGE") {
            readPairs(reader, tag, file);
        } else if (name == "WCTABLE") {
            readWide(reader, tag, file);
            seenWide = true;
        } else {
            reader.fail(tag, "unexpected record \"" + name + "\"");
        }
    }
    if (!seenSingleBytes || !seenWide || file.defaultByte == 0)
        reader.fail("CPINFO, MBTABLE or WCTABLE is missing");
    return file;
}

void checkImagePromises(const BestFitFile& file, const std::string& name)
{
    const auto fail = [&](const std::string& what) { throw BestFitError(name + ": " + what); };
    const auto hex = [](const unsigned value) {
        char text[8];
        const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
        return "0x" + std::string(text, end);
    };
    for (unsigned unit = 0; unit < 0x80; ++unit) {
        if (file.singleBytes[unit] != unit)
            fail("byte " + hex(unit) + " does not decode to itself");
    }
    if (file.defaultByte >= 0x80)
        fail("the default byte is not ASCII");
    const auto decodesSafely = [](const char16_t unit) { return unit != 0xFFFF && (unit < 0xD800 || unit > 0xDFFF); };
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        if (file.isLeadByte(byte) ? file.singleBytes[byte].has_value() : !file.singleBytes[byte].has_value())
            fail("byte " + hex(byte) + " is both a lead byte and a character, or neither");
        if (file.singleBytes[byte] && !decodesSafely(*file.singleBytes[byte]))
            fail("byte " + hex(byte) + " decodes to a surrogate or U+FFFF");
    }
    if (!decodesSafely(file.defaultUnit))
        fail("the default unit is a surrogate or U+FFFF");
    for (const BestFitFile::PairMapping& pair : file.pairs) {
        if (!file.isLeadByte(pair.bytes >> 8) || (pair.bytes & 0xFF) == 0 || !decodesSafely(pair.unit))
            fail("bad double-byte character " + hex(pair.bytes));
    }
    for (const BestFitFile::WideMapping& mapping : file.wide) {
        if (mapping.unit < 0x80 ? mapping.bytes != mapping.unit : mapping.bytes == 0 || (mapping.bytes & 0xFF) == 0)
            fail("unit " + hex(mapping.unit) + " maps to a wrong byte");
        if (mapping.unit >= 0xD800 && mapping.unit <= 0xDFFF)
            fail("surrogate " + hex(mapping.unit) + " has a mapping");
        if (!file.decode(mapping.bytes))
            fail("unit " + hex(mapping.unit) + " maps to " + hex(mapping.bytes) + ", which does not decode");
    }
    for (unsigned unit = 0; unit < 0x80; ++unit) {
        const auto found = std::lower_bound(file.wide.begin(), file.wide.end(), unit,
            [](const BestFitFile::WideMapping& mapping, const unsigned u) { return mapping.unit < u; });
        if (found == file.wide.end() || found->unit != unit)
            fail("unit " + hex(unit) + " has no mapping");
    }
}

} // namespace codegen
