#pragma once

#include "text/TextEnvironment.h"

#include <QString>

namespace texttest {

// Pins a locale and an ANSI code page for one scope and puts the previous
// environment back after it, so no test depends on the machine's locale or
// on the tests that ran before it.
class PinnedTextEnvironment {
public:
    PinnedTextEnvironment(const QString& localeName, const int codePage)
        : m_previous(text::currentTextEnvironment())
    {
        text::pinTextEnvironmentForTesting(localeName, codePage);
    }
    ~PinnedTextEnvironment() { text::pinTextEnvironmentForTesting(m_previous.localeName, m_previous.codePage); }
    PinnedTextEnvironment(const PinnedTextEnvironment&) = delete;
    PinnedTextEnvironment& operator=(const PinnedTextEnvironment&) = delete;

private:
    text::TextEnvironment m_previous;
};

} // namespace texttest
