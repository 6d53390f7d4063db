#pragma once

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QList>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace plenvoy::test {

/// Answers the modal boxes and dialogs that the real window opens, and records them.
class BoxWatcher final : public QObject {
public:
    explicit BoxWatcher(std::function<void(QWidget *)> act = {})
        : m_act(std::move(act)) {
        connect(&m_timer, &QTimer::timeout, this, &BoxWatcher::poll);
        m_timer.start(10);
    }

    QStringList titles;
    QStringList texts;
    QStringList details; // informative texts of message boxes
    QList<QMessageBox::Icon> icons;

private:
    void poll() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal->property("answered").toBool())
            return;
        modal->setProperty("answered", true);
        titles << modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            texts << box->text();
            details << box->informativeText();
            icons << box->icon();
        } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
            texts << input->labelText();
        }
        if (m_act)
            m_act(modal);
        else if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    }

    std::function<void(QWidget *)> m_act;
    QTimer m_timer;
};

} // namespace plenvoy::test
