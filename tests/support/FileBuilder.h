#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace testsupport {

// One record of the file's type table (name, instance count, GUID), as a
// test file states it.
struct TypeTableRecord {
    QByteArray name;
    std::int32_t instanceCount = 0;
    std::array<char, 16> guid{};
};

// The four types in the usual order, string resources before the data bank.
[[nodiscard]] std::vector<TypeTableRecord> standardTypes(std::int32_t stringResources, std::int32_t dataBanks = 1);

// A language file laid out field by field, so that tests can make both
// well-formed files and every kind of broken one. Strings are raw bytes
// (index 0, the empty string, is implicit); containers are raw bytes placed
// back to back after the string data.
struct RawFile {
    std::uint32_t typeCount = 4;
    std::vector<TypeTableRecord> types;
    int chunksBeforeStrings = 2; // 1: "STRS" at E + 0x10, 2: at E + 0x20
    std::vector<QByteArray> strings;
    // Strings that begin inside another's bytes: string `string` (from 1)
    // at byte `skip` of string `of`. Their own bytes stay in the data,
    // unused.
    struct Inside {
        std::size_t string = 0;
        std::size_t of = 0;
        std::uint32_t skip = 0;
    };
    std::vector<Inside> inside;
    std::vector<QByteArray> containers;

    [[nodiscard]] QByteArray bytes() const;
};

[[nodiscard]] QByteArray stringResourceContainer(std::uint32_t textIndex, std::uint32_t nameIndex);
[[nodiscard]] QByteArray dataBankContainer(const std::vector<std::uint32_t>& entries);
[[nodiscard]] QByteArray varintBytes(std::uint32_t value);
// The bytes written out one by one: bytes({0xC3, 0xA9}).
[[nodiscard]] QByteArray bytes(std::initializer_list<unsigned char> values);
// The editor's own UTF-8 form (surrogates one by one), as xom::appendUtf8
// writes it.
[[nodiscard]] QByteArray utf8(const QString& text);
// The editor's reading of such bytes, as xom::decodeUtf8 decodes them.
[[nodiscard]] QString decodedUtf8(QByteArrayView bytes);

// A well-formed file with one string resource per (name, text) pair, strings
// stored in order (text k at 2k - 1, name k at 2k; without entries the one
// string "kept") and a data bank listing 1 .. n, or the given order.
[[nodiscard]] RawFile simpleFile(const std::vector<std::pair<QString, QString>>& nameTexts);
[[nodiscard]] RawFile simpleFile(
    const std::vector<std::pair<QString, QString>>& nameTexts, const std::vector<std::uint32_t>& dataBankOrder);

// Type tables named and ordered in other ways than the usual: at each of the
// four places any of the four known names or another one ("XOther"), so
// that each known type is missing, doubled or in any position; each with the
// counts 2 for a string resource type and 1 for the others, and with each
// place's count changed to 0, 1 or 2 in turn.
[[nodiscard]] std::vector<std::vector<TypeTableRecord>> typeTableShapes();

// A file whose containers follow its type table: for each type in order, as
// many containers as its count. The last string resource type's instance k
// names text k and name k of nameTexts (an instance beyond them the empty
// string); an earlier type of that name has them the other way round. Each
// data bank instance lists the last string resource type's instances from
// the last to the first. Other types get opaque containers.
[[nodiscard]] RawFile fileWithTypes(
    const std::vector<TypeTableRecord>& types, const std::vector<std::pair<QString, QString>>& nameTexts);

} // namespace testsupport
