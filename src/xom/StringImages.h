#pragma once

#include "xom/StringTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace xom {

// Writes text's ANSI image at out, moving out past it, and gives text's UTF-8
// length: both in one pass over its units, so that runs of ASCII, most of
// most texts, are copied and counted at once. out has room for
// text.size() * text::ansiImageBytesPerUnit() bytes.
std::uint32_t imageAndMeasure(QStringView text, char*& out);

// The strings' ANSI images back to back in list order, for the sorts of
// StringTableOrder.h, and every string's UTF-8 length.
struct StringImages {
    // Sized for the longest images the strings could have and a NUL a
    // string besides, of which size() holds the images: room enough for the
    // string data of the save whenever its UTF-8 takes no more bytes than
    // the images (see StringDataOrder::spare).
    QByteArray images;
    std::vector<std::uint32_t> ends; // per string: where its image ends
    std::vector<std::uint32_t> utf8Lengths;
};
[[nodiscard]] StringImages imageStrings(const StringTable& table);

// A text's image in a buffer of its own, for comparing texts one pair at a
// time; the view is valid until the next call.
class ImageScratch {
public:
    QByteArrayView image(QStringView text, std::uint32_t* utf8Length = nullptr);

private:
    QByteArray m_bytes;
};

} // namespace xom
