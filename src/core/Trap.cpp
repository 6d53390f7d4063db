#include "Trap.h"

#include "WindowPort.h"

namespace plenvoy {

void Trap::report(qint32 line, int number, const QString &description) {
    m_lastReported = ErrorDetails{m_tag, line, number, description, m_entry};
    m_ui.reportError(*m_lastReported);
}

} // namespace plenvoy
