#pragma once

#include "cli/Command.h"

namespace cli {

// sort IN OUT: IN loaded, sorted by name as the editor's Sort does, saved to OUT.
class Sort final : public Command {
public:
    [[nodiscard]] QString name() const override;
    [[nodiscard]] QStringList operands() const override;
    [[nodiscard]] QString summary() const override;
    [[nodiscard]] QString details() const override;
    void run(const QStringList& operands) const override;
};

} // namespace cli
