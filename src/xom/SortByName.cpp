// Placeholder: being written.
#include "xom/EntryOperations.h"

namespace xom {
void sortEntriesByName(EntryTable&, const ProgressReport&) { }
int sortProgressPosition(int, int) noexcept { return 0; }
} // namespace xom
