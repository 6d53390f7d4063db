#include "MnemonicStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace plenvoy {

MnemonicStyle::MnemonicStyle(QStyle *base)
    : QProxyStyle(base) {
    // Alt is heard wherever the focus is; the filter goes with the style.
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(this);
}

int MnemonicStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                             QStyleHintReturn *returnData) const {
    if (hint == SH_UnderlineShortcut)
        return m_revealed ? 1 : 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool MnemonicStyle::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Alt)
            reveal(event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::ApplicationDeactivate:
    case QEvent::WindowDeactivate:
        reveal(false);
        break;
    default:
        break;
    }
    return QProxyStyle::eventFilter(watched, event);
}

void MnemonicStyle::reveal(bool shown) {
    if (shown == m_revealed)
        return;
    m_revealed = shown;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->update();
    for (QWidget *widget : QApplication::allWidgets())
        if (widget->isVisible())
            widget->update();
}

} // namespace plenvoy
