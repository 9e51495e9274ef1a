// Placeholder: being written.
#include "xom/EntryOperations.h"

namespace xom {
void toggleMark(EntryTable&, int) { }
void MoveRowToEnd(EntryTable&, int) { }
void moveMarkedRowsToEnd(EntryTable&) { }
} // namespace xom
