#include "WindowPort.h"

namespace plenvoy {

WindowPort::~WindowPort() = default;

} // namespace plenvoy
