#include "support/FileBuilder.h"

#include "xom/Utf8Codec.h"

#include <QtEndian>

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

std::vector<TypeSpec> standardTypes(const std::int32_t stringResources, const std::int32_t dataBanks)
{
    std::vector<TypeSpec> types{
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
    for (const TypeSpec& type : types) {
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
    QByteArray offsets;
    appendU32(offsets, 0);
    for (const QByteArray& s : strings) {
        appendU32(offsets, static_cast<std::uint32_t>(data.size()));
        data += s;
        data += '\0';
    }
    appendU32(out, count);
    appendU32(out, static_cast<std::uint32_t>(data.size()));
    out += offsets;
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
    return xom::EncodeUtf8(text);
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
    file.containers.push_back(dataBankContainer(dataBankOrder));
    return file;
}

} // namespace testsupport
