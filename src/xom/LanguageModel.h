#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace xom {

// A type's kind follows from its name; the editor parses the containers of
// kinds 3 and 4 and carries the others through unchanged.
enum class TypeKind : std::uint8_t {
    Unknown = 0,
    Container = 1,             // "XContainer"
    ResourceDetails = 2,       // "XResourceDetails"
    DataBank = 3,              // "XDataBank"
    StringResourceDetails = 4, // "XStringResourceDetails"
};

[[nodiscard]] TypeKind kindOfTypeName(const QByteArray& name);

struct XTypeCont {
    TypeKind kind = TypeKind::Unknown;
    qint32 instanceCount = 0;
    QByteArray name; // ASCII, without its NUL padding
    std::array<char, 16> guid{};

    friend bool operator==(const XTypeCont&, const XTypeCont&) = default;
};

// A container of a type that the editor does not parse, kept byte for byte
// (from its "CTNR" up to the next container or the end of the file) so that a
// save writes it back at its type's place.
struct CarriedContainer {
    int typeIndex = 0;
    QByteArray bytes;

    friend bool operator==(const CarriedContainer&, const CarriedContainer&) = default;
};

// What the model keeps of the file's string table: a save rebuilds the table
// from the rows and needs only its length (fewer than two strings leave no
// string 1 to keep) and string 1, which it writes back at index 1. Add
// appends its name and text as the table's last strings; the last two are
// kept so that its undo finds them there.
struct StringListSummary {
    int count = 1;      // the empty string 0 is always there
    QString second;     // string 1 when count >= 2
    QString lastButOne; // strings count - 2 and count - 1 when count >= 2
    QString last;

    // Appends a string at the end of the list.
    void append(const QString& text);

    friend bool operator==(const StringListSummary&, const StringListSummary&) = default;
};

// The model of the loaded file. Each accepted load replaces it whole; Add
// raises a count and appends strings; Save rebuilds the string list and
// records the size of the file it wrote. Of the loaded bytes it keeps only
// the containers a save carries through.
struct LanguageModel {
    std::vector<XTypeCont> TypeTable;
    // Index into TypeTable of "XStringResourceDetails", or -1 when the file
    // has no such type (Add then adds rows without a count to raise).
    int StringResourceType = -1;
    // The file's string table, index 0 the empty string.
    StringListSummary StringList;
    qint32 FileSize = 0;
    std::vector<CarriedContainer> carriedContainers;
};

} // namespace xom
