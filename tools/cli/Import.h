#pragma once

#include "cli/Command.h"

namespace cli {

// import IN.xom IN.csv OUT.xom: an edit CSV applied to IN (see applyCsvEdits),
// the result saved to OUT.
class Import final : public Command {
public:
    [[nodiscard]] QString name() const override;
    [[nodiscard]] QStringList operands() const override;
    [[nodiscard]] QString summary() const override;
    [[nodiscard]] QString details() const override;
    void run(const QStringList& operands) const override;
};

} // namespace cli
