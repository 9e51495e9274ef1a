// Placeholder: being written.
#include "xom/EntryOperations.h"

namespace xom {
std::optional<int> searchRowForPrefix(const EntryTable&, QStringView) { return std::nullopt; }
} // namespace xom
