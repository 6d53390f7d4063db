#pragma once

#include <QLoggingCategory>

namespace plenvoy {

Q_DECLARE_LOGGING_CATEGORY(lcApp)

} // namespace plenvoy
