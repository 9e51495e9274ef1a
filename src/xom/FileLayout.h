#pragma once

#include <QByteArrayView>

#include <cstdint>

// The offsets, sizes and magics of the language file, which the reader and
// the writer share. docs/format.md draws the layout they belong to. All
// integers are little-endian; magics are four ASCII bytes.
namespace xom::layout {

inline constexpr qsizetype HeaderSize = 0x40;
inline constexpr qsizetype TypeCountOffset = 0x18;
inline constexpr qsizetype ContainerCountOffset = 0x1C;
inline constexpr qsizetype ContainerCount2Offset = 0x20;
inline constexpr qsizetype VersionLastByteOffset = 0x07;
inline constexpr char VersionLastByte = 0x02;

inline constexpr qsizetype TypeEntrySize = 0x40;
inline constexpr qsizetype TypeInstanceCountOffset = 0x08;
inline constexpr qsizetype TypeGuidOffset = 0x10;
inline constexpr qsizetype TypeGuidSize = 16;
inline constexpr qsizetype TypeNameOffset = 0x20;
inline constexpr qsizetype TypeNameSize = 32;

inline constexpr std::uint32_t RequiredTypeCount = 4;

inline constexpr qsizetype ChunkSize = 0x10;
inline constexpr std::uint32_t SchmValue = 1;
inline constexpr qsizetype StringTableHeaderSize = 0x0C;

inline constexpr qsizetype StringResourceReservedSize = 3;
inline constexpr qsizetype DataBankReservedSize = 6;
inline constexpr qsizetype ContainerReadTrailer = 4;
inline constexpr qsizetype StringResourceTrailer = 4;
inline constexpr qsizetype DataBankTrailer = 5;

inline constexpr QByteArrayView MagicFile{"MOIK", 4};
inline constexpr QByteArrayView MagicType{"TYPE", 4};
inline constexpr QByteArrayView MagicGuid{"GUID", 4};
inline constexpr QByteArrayView MagicSchema{"SCHM", 4};
inline constexpr QByteArrayView MagicStrings{"STRS", 4};
inline constexpr QByteArrayView MagicContainer{"CTNR", 4};

inline constexpr QByteArrayView NameStringResource{"XStringResourceDetails"};
inline constexpr QByteArrayView NameDataBank{"XDataBank"};
inline constexpr QByteArrayView NameContainer{"XContainer"};
inline constexpr QByteArrayView NameResourceDetails{"XResourceDetails"};

[[nodiscard]] constexpr qsizetype typeTableEnd(qsizetype typeCount) noexcept
{
    return HeaderSize + TypeEntrySize * typeCount;
}

} // namespace xom::layout
