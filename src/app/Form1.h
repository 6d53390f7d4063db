#pragma once

#include <QWidget>

namespace plenvoy {

/// The main window.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
};

} // namespace plenvoy
