#include "xom/StringImages.h"

#include "xom/Utf8Codec.h"

#include "text/AnsiImage.h"

namespace xom {

std::uint32_t imageAndMeasure(const QStringView text, char*& out)
{
    const char16_t* const units = text.utf16();
    const qsizetype size = text.size();
    qsizetype ascii = 0;
    while (ascii < size && units[ascii] < 0x80) {
        out[ascii] = static_cast<char>(units[ascii]);
        ++ascii;
    }
    if (ascii == size) {
        out += size;
        return static_cast<std::uint32_t>(size);
    }
    out = text::writeAnsiImage(text.sliced(ascii), out + ascii);
    return static_cast<std::uint32_t>(ascii + utf8Length(text.sliced(ascii)));
}

StringImages imageStrings(const StringTable& table)
{
    const std::size_t count = table.count();
    std::size_t units = 0;
    for (std::size_t k = 0; k < count; ++k)
        units += static_cast<std::size_t>(table.at(k).size());
    const auto perUnit = static_cast<std::size_t>(text::ansiImageBytesPerUnit());
    StringImages made;
    made.images = QByteArray(static_cast<qsizetype>(units * perUnit + count + 1), Qt::Uninitialized);
    made.ends.resize(count);
    made.utf8Lengths.resize(count);
    char* const base = made.images.data();
    char* out = base;
    for (std::size_t k = 0; k < count; ++k) {
        made.utf8Lengths[k] = imageAndMeasure(table.at(k), out);
        made.ends[k] = static_cast<std::uint32_t>(out - base);
    }
    made.images.resize(out - base);
    return made;
}

QByteArrayView ImageScratch::image(const QStringView text, std::uint32_t* const utf8Length)
{
    const auto room = text.size() * static_cast<qsizetype>(text::ansiImageBytesPerUnit());
    if (m_bytes.size() < room)
        m_bytes.resize(room);
    char* out = m_bytes.data();
    const std::uint32_t length = imageAndMeasure(text, out);
    if (utf8Length)
        *utf8Length = length;
    return {m_bytes.constData(), out - m_bytes.constData()};
}

} // namespace xom
