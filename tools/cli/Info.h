#pragma once

#include "cli/Command.h"

namespace cli {

// info FILE: the type table and the counts of strings, string resources and
// entries.
class Info final : public Command {
public:
    [[nodiscard]] QString name() const override;
    [[nodiscard]] QStringList operands() const override;
    [[nodiscard]] QString summary() const override;
    [[nodiscard]] QString details() const override;
    void run(const QStringList& operands) const override;
};

} // namespace cli
