#pragma once

#include "text/TextEnvironment.h"

#include <QString>

namespace testsupport {

// Makes the given locale (a QLocale name; "C" and "POSIX" take the root
// collation) and code page the run's environment, and drops every collator
// and code page table opened for the previous one. Throws
// std::invalid_argument for a code page other than 874, 932, 936, 949, 950
// and 1250 to 1258, and then changes nothing.
void pinTextEnvironment(const QString& localeName, int codePage);

// Pins a locale and an ANSI code page for one scope and puts the previous
// environment back after it, so no test depends on the machine's locale or
// on the tests that ran before it.
class PinnedTextEnvironment {
public:
    PinnedTextEnvironment(const QString& localeName, const int codePage)
        : m_previous(text::currentTextEnvironment())
    {
        pinTextEnvironment(localeName, codePage);
    }
    ~PinnedTextEnvironment() { pinTextEnvironment(m_previous.localeName, m_previous.codePage); }
    PinnedTextEnvironment(const PinnedTextEnvironment&) = delete;
    PinnedTextEnvironment& operator=(const PinnedTextEnvironment&) = delete;

private:
    text::TextEnvironment m_previous;
};

} // namespace testsupport
