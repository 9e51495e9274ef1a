#pragma once

#include "text/CodePage.h"
#include "text/IcuCollator.h"
#include "text/TextEnvironment.h"

namespace text {

// Everything one run compares texts with: its environment, the two collators
// of its locale and its code page, each opened once. There is one at a time;
// the text layer runs on the user-interface thread only.
class TextRuntime {
public:
    explicit TextRuntime(const TextEnvironment& environment);
    TextRuntime(const TextRuntime&) = delete;
    TextRuntime& operator=(const TextRuntime&) = delete;

    [[nodiscard]] const TextEnvironment& environment() const noexcept { return m_environment; }
    // Tertiary strength with matchCase on, secondary with it off.
    [[nodiscard]] const IcuCollator& collator(const bool matchCase) const noexcept
    {
        return matchCase ? m_caseSensitive : m_caseInsensitive;
    }
    [[nodiscard]] const CodePage& codePage() const noexcept { return m_codePage; }

private:
    TextEnvironment m_environment;
    IcuCollator m_caseInsensitive;
    IcuCollator m_caseSensitive;
    CodePage m_codePage;
};

// The run's runtime, made from QLocale::system() on first use unless a test
// has pinned another.
[[nodiscard]] TextRuntime& textRuntime();

// Makes a runtime for environment the run's one; the previous runtime, its
// collators and code page tables are dropped. If opening fails, nothing changes.
void replaceTextRuntime(const TextEnvironment& environment);

} // namespace text
