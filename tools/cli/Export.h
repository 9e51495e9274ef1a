#pragma once

#include "cli/Command.h"

namespace cli {

// export IN OUT.csv: the entries of IN as CSV (see csvOfEntries).
class Export final : public Command {
public:
    [[nodiscard]] QString name() const override;
    [[nodiscard]] QStringList operands() const override;
    [[nodiscard]] QString summary() const override;
    [[nodiscard]] QString details() const override;
    void run(const QStringList& operands) const override;
};

} // namespace cli
