#pragma once

#include <QByteArrayView>

#include <cstdint>

// The language file as the reader and the writer share it. All integers are
// little-endian; magics are four ASCII bytes.
//
//   0x000  file header, 64 bytes
//          +0x00 "MOIK"   +0x04 version 00 00 00 02   +0x08 16 zero bytes
//          +0x18 u32 typeCount (must be 4)   +0x1C u32 containerCount
//          +0x20 u32 containerCount again    +0x24 28 zero bytes
//   0x040  type table, typeCount entries of 64 bytes
//          +0x00 "TYPE"  +0x04 zero  +0x08 i32 instanceCount  +0x0C zero
//          +0x10 16-byte guid  +0x20 32-byte name, NUL padded
//   E      (E = 0x40 + 64 * typeCount, 0x140 for four types)
//          "GUID" + 12 zero bytes, "SCHM" + u32 1 + 8 zero bytes
//          (a reader finds "STRS" at E + 0x10 when only one chunk stands
//          there, and otherwise takes it to start at E + 0x20)
//   S      string table
//          +0x00 "STRS"  +0x04 i32 stringCount  +0x08 u32 dataSize
//          +0x0C stringCount u32 offsets into data (entry 0 unused, zero)
//          then dataSize bytes of data: NUL-terminated UTF-8 strings, the
//          empty string at offset 0, laid out in ANSI order
//   then   containers, back to back, in type-table order, instanceCount
//          of each type (at most one data bank instance in all):
//          string resource  "CTNR" 3 zero bytes, varint textIndex,
//                           varint nameIndex, 4 zero bytes
//          data bank        "CTNR" 6 zero bytes, varint entryCount,
//                           entryCount varint entry numbers, 5 zero bytes
//          other types      carried through byte for byte
//          (a writer puts a data bank that no type announces last)
//   Containers after the first are found by searching for "CTNR".
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
