#pragma once

#include "cli/Command.h"

namespace cli {

// resave IN OUT: IN loaded and saved to OUT as the editor's Save does.
class Resave final : public Command {
public:
    [[nodiscard]] QString name() const override;
    [[nodiscard]] QStringList operands() const override;
    [[nodiscard]] QString summary() const override;
    [[nodiscard]] QString details() const override;
    void run(const QStringList& operands) const override;
};

} // namespace cli
