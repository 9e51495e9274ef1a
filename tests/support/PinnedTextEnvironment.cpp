#include "support/PinnedTextEnvironment.h"

#include "text/TextRuntime.h"

namespace testsupport {

void pinTextEnvironment(const QString& localeName, const int codePage)
{
    text::replaceTextRuntime(text::TextEnvironment{localeName, codePage});
}

} // namespace testsupport
