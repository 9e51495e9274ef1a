#include "support/FileBuilder.h"

#include "xom/Utf8Codec.h"

#include <QtEndian>

#include <array>
#include <cstring>

namespace testsupport {

namespace {

void putU32(QByteArray& out, const qsizetype at, const std::uint32_t value)
{
    qToLittleEndian(value, out.data() + at);
}

void appendU32(QByteArray& out, const std::uint32_t value)
{
    const qsizetype at = out.size();
    out.resize(at + 4);
    putU32(out, at, value);
}

} // namespace

std::vector<TypeTableRecord> standardTypes(const std::int32_t stringResources, const std::int32_t dataBanks)
{
    std::vector<TypeTableRecord> types{
        {"XContainer", 0, {}},
        {"XResourceDetails", 0, {}},
        {"XStringResourceDetails", stringResources, {}},
        {"XDataBank", dataBanks, {}},
    };
    for (std::size_t n = 0; n < types.size(); ++n) {
        for (std::size_t b = 0; b < 16; ++b)
            types[n].guid[b] = static_cast<char>(0x10 * (n + 1) + b);
    }
    return types;
}

QByteArray RawFile::bytes() const
{
    QByteArray out(0x40, '\0');
    std::memcpy(out.data(), "MOIK", 4);
    out[7] = 2;
    putU32(out, 0x18, typeCount);
    for (const TypeTableRecord& type : types) {
        QByteArray entry(0x40, '\0');
        std::memcpy(entry.data(), "TYPE", 4);
        putU32(entry, 0x08, static_cast<std::uint32_t>(type.instanceCount));
        std::memcpy(entry.data() + 0x10, type.guid.data(), 16);
        std::memcpy(entry.data() + 0x20, type.name.constData(),
            static_cast<std::size_t>(std::min<qsizetype>(type.name.size(), 32)));
        out += entry;
    }
    QByteArray guidChunk(16, '\0');
    std::memcpy(guidChunk.data(), "GUID", 4);
    QByteArray schmChunk(16, '\0');
    std::memcpy(schmChunk.data(), "SCHM", 4);
    putU32(schmChunk, 4, 1);
    if (chunksBeforeStrings >= 2)
        out += guidChunk;
    out += schmChunk;

    out += "STRS";
    const auto count = static_cast<std::uint32_t>(strings.size() + 1);
    QByteArray data(1, '\0');
    std::vector<std::uint32_t> starts{0};
    for (const QByteArray& s : strings) {
        starts.push_back(static_cast<std::uint32_t>(data.size()));
        data += s;
        data += '\0';
    }
    for (const Inside& shared : inside)
        starts[shared.string] = starts[shared.of] + shared.skip;
    appendU32(out, count);
    appendU32(out, static_cast<std::uint32_t>(data.size()));
    for (const std::uint32_t start : starts)
        appendU32(out, start);
    out += data;
    for (const QByteArray& container : containers)
        out += container;
    return out;
}

QByteArray bytes(const std::initializer_list<unsigned char> values)
{
    QByteArray out;
    for (const unsigned char value : values)
        out += static_cast<char>(value);
    return out;
}

QByteArray varintBytes(std::uint32_t value)
{
    QByteArray out;
    while (value >> 7) {
        out += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
    return out;
}

QByteArray stringResourceContainer(const std::uint32_t textIndex, const std::uint32_t nameIndex)
{
    QByteArray out("CTNR");
    out += QByteArray(3, '\0');
    out += varintBytes(textIndex);
    out += varintBytes(nameIndex);
    out += QByteArray(4, '\0');
    return out;
}

QByteArray dataBankContainer(const std::vector<std::uint32_t>& entries)
{
    QByteArray out("CTNR");
    out += QByteArray(6, '\0');
    out += varintBytes(static_cast<std::uint32_t>(entries.size()));
    for (const std::uint32_t entry : entries)
        out += varintBytes(entry);
    out += QByteArray(5, '\0');
    return out;
}

QByteArray utf8(const QString& text)
{
    QByteArray out;
    xom::appendUtf8(text, out);
    return out;
}

QString decodedUtf8(const QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    text.truncate(xom::decodeUtf8(bytes, reinterpret_cast<char16_t*>(text.data())));
    return text;
}

RawFile simpleFile(const std::vector<std::pair<QString, QString>>& nameTexts)
{
    std::vector<std::uint32_t> order;
    for (std::uint32_t k = 1; k <= nameTexts.size(); ++k)
        order.push_back(k);
    return simpleFile(nameTexts, order);
}

RawFile simpleFile(
    const std::vector<std::pair<QString, QString>>& nameTexts, const std::vector<std::uint32_t>& dataBankOrder)
{
    RawFile file;
    file.types = standardTypes(static_cast<std::int32_t>(nameTexts.size()));
    std::uint32_t index = 1;
    for (const auto& [name, text] : nameTexts) {
        file.strings.push_back(utf8(text));
        file.strings.push_back(utf8(name));
        file.containers.push_back(stringResourceContainer(index, index + 1));
        index += 2;
    }
    // A file without entries still holds the string that every save keeps
    // at index 1, as the editor's own files do.
    if (nameTexts.empty())
        file.strings.push_back("kept");
    file.containers.push_back(dataBankContainer(dataBankOrder));
    return file;
}

std::vector<std::vector<TypeTableRecord>> typeTableShapes()
{
    const std::array<QByteArray, 5> names{
        "XContainer", "XResourceDetails", "XStringResourceDetails", "XDataBank", "XOther"};
    const auto baseCount = [](const QByteArray& name) { return name == "XStringResourceDetails" ? 2 : 1; };
    std::vector<std::vector<TypeTableRecord>> shapes;
    constexpr std::size_t Places = 4;
    std::size_t combinations = 1;
    for (std::size_t p = 0; p < Places; ++p)
        combinations *= names.size();
    for (std::size_t combination = 0; combination < combinations; ++combination) {
        std::vector<TypeTableRecord> base(Places);
        std::size_t rest = combination;
        for (std::size_t p = 0; p < Places; ++p) {
            base[p].name = names[rest % names.size()];
            base[p].instanceCount = baseCount(base[p].name);
            for (std::size_t b = 0; b < base[p].guid.size(); ++b)
                base[p].guid[b] = static_cast<char>(0x10 * (p + 1) + b);
            rest /= names.size();
        }
        shapes.push_back(base);
        for (std::size_t p = 0; p < Places; ++p) {
            for (const std::int32_t count : {0, 1, 2}) {
                if (count == base[p].instanceCount)
                    continue;
                std::vector<TypeTableRecord> changed = base;
                changed[p].instanceCount = count;
                shapes.push_back(std::move(changed));
            }
        }
    }
    return shapes;
}

RawFile fileWithTypes(
    const std::vector<TypeTableRecord>& types, const std::vector<std::pair<QString, QString>>& nameTexts)
{
    RawFile file;
    file.types = types;
    for (const auto& [name, text] : nameTexts) {
        file.strings.push_back(utf8(text));
        file.strings.push_back(utf8(name));
    }
    std::size_t lastStringResources = types.size();
    for (std::size_t t = 0; t < types.size(); ++t) {
        if (types[t].name == "XStringResourceDetails")
            lastStringResources = t;
    }
    std::vector<std::uint32_t> dataBank;
    if (lastStringResources < types.size()) {
        for (std::int32_t k = types[lastStringResources].instanceCount; k > 0; --k)
            dataBank.push_back(static_cast<std::uint32_t>(k));
    }
    for (std::size_t t = 0; t < types.size(); ++t) {
        for (std::int32_t i = 1; i <= types[t].instanceCount; ++i) {
            const auto k = static_cast<std::uint32_t>(i);
            if (types[t].name == "XStringResourceDetails") {
                const bool named = k <= nameTexts.size();
                const std::uint32_t text = named ? 2 * k - 1 : 0;
                const std::uint32_t name = named ? 2 * k : 0;
                file.containers.push_back(t == lastStringResources ? stringResourceContainer(text, name)
                                                                   : stringResourceContainer(name, text));
            } else if (types[t].name == "XDataBank") {
                file.containers.push_back(dataBankContainer(dataBank));
            } else {
                file.containers.push_back(QByteArray("CTNR") + QStringLiteral("opaque %1.%2").arg(t).arg(i).toLatin1());
            }
        }
    }
    return file;
}

} // namespace testsupport
