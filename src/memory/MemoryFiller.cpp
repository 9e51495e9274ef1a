#include "memory/MemoryFiller.h"

#include <QCryptographicHash>

#include <cstring>

namespace memory {

namespace {

// The first eight bytes of a SHA-1 of what makes the unit: its languages,
// texts, entry and approval, each with its length so that no two units
// run together alike. The time is left out: the same translation saved
// again is no new unit.
quint64 unitHash(const MemoryUnit& unit)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto add = [&hash](const QString& text) {
        const qsizetype size = text.size();
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
    };
    add(unit.sourceLanguage);
    add(unit.targetLanguage);
    add(unit.source);
    add(unit.target);
    add(unit.entryName);
    hash.addData(QByteArrayView(unit.approved ? "a" : "t", 1));
    quint64 value = 0;
    std::memcpy(&value, hash.resultView().constData(), sizeof value);
    return value;
}

} // namespace

std::vector<MemoryUnit> MemoryFiller::unitsToGive(std::vector<MemoryUnit> units)
{
    std::erase_if(units, [this](const MemoryUnit& unit) {
        const quint64 hash = unitHash(unit);
        if (m_given.contains(hash))
            return true;
        m_given.insert(hash);
        return false;
    });
    return units;
}

} // namespace memory
