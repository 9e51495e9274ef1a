#include "xom/EntryOperations.h"

namespace xom {

int addEntry(EntryTable& table, LanguageModel& model, const QString& name, const QString& text)
{
    const int number = table.gridRowCount();
    // A file without a string resource type has no count to raise; the row
    // is added all the same.
    if (model.StringResourceType >= 0 && model.StringResourceType < static_cast<int>(model.TypeTable.size())) {
        // Wraps like the 32-bit field it is written to, never overflows.
        qint32& count = model.TypeTable[static_cast<std::size_t>(model.StringResourceType)].instanceCount;
        count = static_cast<qint32>(static_cast<quint32>(count) + 1u);
    }
    EntryRow row;
    row.number = static_cast<std::uint32_t>(number);
    row.name = table.texts.intern(name);
    row.text = table.texts.intern(text);
    table.rows.push_back(row);
    model.StringList.append(name);
    model.StringList.append(text);
    return number;
}

} // namespace xom
