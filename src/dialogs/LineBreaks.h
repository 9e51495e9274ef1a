#pragma once

#include "text/LineBreaks.h"

namespace dialogs {

// The dialogs give every text the editor's line breaks; the rule itself is
// the core's, so that an import gives the same texts as the Edit dialog.
using text::withCrLfLineBreaks;
using text::withLineBreaksAs;

} // namespace dialogs
