#include "Form1.h"

namespace plenvoy {

Form1::Form1(QWidget *parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("Plenvoy"));
    resize(600, 400);
}

} // namespace plenvoy
