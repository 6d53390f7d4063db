#include "AppLog.h"

namespace plenvoy {

Q_LOGGING_CATEGORY(lcApp, "plenvoy.app")

} // namespace plenvoy
