#include "support/HostileFiles.h"

#include "support/FileBuilder.h"

#include <QtEndian>

namespace testsupport {

namespace {

const std::vector<std::pair<QString, QString>> threeEntries{
    {QStringLiteral("FE.Hello"), QStringLiteral("Hello")},
    {QStringLiteral("FE.Help"), QStringLiteral("help\r\nme")},
    {QStringLiteral("FE.World"), QStringLiteral("World")},
};

// Offsets in the three-entry file: strings at 0x160, offsets from 0x16C.
constexpr qsizetype StringCountAt = 0x164;
constexpr qsizetype DataSizeAt = 0x168;
constexpr qsizetype OffsetsAt = 0x16C;

QByteArray withU32(QByteArray bytes, const qsizetype at, const std::uint32_t value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

QByteArray three()
{
    return simpleFile(threeEntries).bytes();
}

template <typename Change> QByteArray changed(Change change)
{
    RawFile file = simpleFile(threeEntries);
    change(file);
    return file.bytes();
}

} // namespace

QString HostileFile::expectedMessage() const
{
    return listIndexError ? QStringLiteral("List index out of bounds (%1)").arg(index)
                          : QStringLiteral("Bad Language File");
}

std::vector<HostileFile> hostileFiles()
{
    QByteArray noNul = three();
    // The data's last byte is the last string's NUL.
    noNul[OffsetsAt + 4 * 7 + qFromLittleEndian<std::uint32_t>(noNul.constData() + DataSizeAt) - 1] = 'x';

    return {
        {"type count 3", withU32(three(), 0x18, 3)},
        {"type count 5", withU32(three(), 0x18, 5)},
        {"empty file", QByteArray()},
        {"header cut short", three().left(0x1B)},
        {"type table cut short", three().left(0x13F)},
        {"string table outside the file", three().left(0x168)},
        {"string count beyond the file", withU32(three(), StringCountAt, 0x40000000)},
        {"negative string count", withU32(three(), StringCountAt, 0xFFFFFFFF)},
        {"data size beyond the file", withU32(three(), DataSizeAt, 0x7FFFFFFF)},
        {"an offset outside the data", withU32(three(), OffsetsAt + 8, 5000)},
        {"a string without its NUL", noNul},
        {"strings that each run to the end of one long string", changed([](RawFile& f) {
             f.strings.push_back(QByteArray(4000, 'x'));
             const std::size_t longString = f.strings.size();
             for (std::uint32_t skip = 0; skip < 3000; ++skip) {
                 f.strings.emplace_back("y");
                 f.inside.push_back({f.strings.size(), longString, skip});
             }
         })},
        {"text index outside the string list",
            changed([](RawFile& f) { f.containers[1] = stringResourceContainer(7, 4); }), true, 7},
        {"name index outside the string list",
            changed([](RawFile& f) { f.containers[2] = stringResourceContainer(5, 300); }), true, 300},
        {"data bank entry beyond the resources", changed([](RawFile& f) {
             f.containers.back() = dataBankContainer({1, 4});
         })},
        {"entry count beyond the file", changed([](RawFile& f) {
             f.containers.back() = QByteArray("CTNR") + QByteArray(6, '\0') + varintBytes(268435455) + '\1';
         })},
        {"instance count beyond the file", changed([](RawFile& f) { f.types[2].instanceCount = 0x7FFFFFFF; })},
        {"a second string resource type counting more instances", changed([](RawFile& f) {
             f.types[0] = {"XStringResourceDetails", 4, {}};
             f.types[2].instanceCount = 1;
             f.containers.insert(f.containers.begin(), stringResourceContainer(1, 2));
         })},
        {"the file ends before its data bank", changed([](RawFile& f) { f.containers.pop_back(); })},
        {"two data bank types with an instance each", changed([](RawFile& f) {
             f.types[0] = {"XDataBank", 1, {}};
             f.containers.insert(f.containers.begin(), dataBankContainer({3, 2, 1}));
         })},
        {"a data bank type counting two instances", changed([](RawFile& f) {
             f.types[3].instanceCount = 2;
             f.containers.push_back(dataBankContainer({1}));
         })},
        // The walk ends before the earlier type's fourth instance would
        // overflow the records, but a save would write all five.
        {"an earlier string resource type counting more, the file ending within it", changed([](RawFile& f) {
             f.types = {{"XDataBank", 1, {}}, {"XStringResourceDetails", 5, {}}, {"XResourceDetails", 0, {}},
                 {"XStringResourceDetails", 3, {}}};
             f.containers = {dataBankContainer({}), stringResourceContainer(1, 2)};
         })},
        // The walk ends after the string resources, long before the last
        // type's count, which a save would then have to write.
        {"a last type announcing more containers than the file could hold", changed([](RawFile& f) {
             f.types[0] = {"XDataBank", 1, {}};
             f.types[3] = {"XResourceDetails", 1'000'000, {}};
             f.containers.insert(f.containers.begin(), f.containers.back());
             f.containers.pop_back();
         })},
    };
}

} // namespace testsupport
