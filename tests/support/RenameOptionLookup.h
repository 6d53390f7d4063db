#pragma once

#include "naming/RenameOptions.h"

#include <QString>

#include <optional>

namespace plenvoy::test {

/// The option with exactly this display text (case-sensitive, whole text, no trimming).
inline std::optional<RenameOption> findRenameOption(const QString &text) {
    for (const RenameOption &option : renameOptions()) {
        if (option.text == text)
            return option;
    }
    return std::nullopt;
}

} // namespace plenvoy::test
