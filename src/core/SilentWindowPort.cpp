#include "SilentWindowPort.h"

namespace plenvoy {

void SilentWindowPort::showMessage(const QString &) {}

bool SilentWindowPort::askYesNo(const QString &) {
    return false;
}

QString SilentWindowPort::askText(const QString &, const QString &) {
    return QString();
}

void SilentWindowPort::showErrorReport(const QString &) {}

QStringList SilentWindowPort::chooseFiles(const QString &) {
    return QStringList();
}

QString SilentWindowPort::chooseFolder(const QString &, const QString &) {
    return QString();
}

void SilentWindowPort::openFolder(const QString &) {}

PointerMode SilentWindowPort::pointer() const {
    return m_pointer;
}

void SilentWindowPort::setPointer(PointerMode mode) {
    m_pointer = mode;
}

void SilentWindowPort::processEvents() {}

bool SilentWindowPort::closing() const {
    return m_closing;
}

} // namespace plenvoy
