#pragma once

#include "cli/Command.h"

namespace cli {

// dump FILE: the types and the entries as one JSON document on standard output.
class Dump final : public Command {
public:
    [[nodiscard]] QString name() const override;
    [[nodiscard]] QStringList operands() const override;
    [[nodiscard]] QString summary() const override;
    [[nodiscard]] QString details() const override;
    void run(const QStringList& operands) const override;
};

} // namespace cli
