#include "Trap.h"

#include "ErrorReport.h"

namespace plenvoy {

void Trap::report(qint32 line, const QString &description) {
    m_lastReported = description;
    showErrorReport(m_ui, description, m_tag, line);
}

} // namespace plenvoy
