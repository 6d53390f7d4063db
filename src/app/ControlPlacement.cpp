#include "ControlPlacement.h"

#include "filelist/FileListView.h"

#include <QPalette>
#include <QWidget>

namespace plenvoy {

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

QFont arial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void paintWhite(QWidget &widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void ControlPlacement::place(QWidget *control, Anchor anchor) {
    m_placed.append({control, control->geometry(), anchor});
}

void ControlPlacement::follow(int dx, int dy) const {
    for (const Placed &placed : m_placed) {
        const QRect &design = placed.design;
        const Anchor &anchor = placed.anchor;
        placed.control->setGeometry(design.x() + anchor.x * dx, design.y() + anchor.y * dy,
                                    design.width() + anchor.w * dx,
                                    design.height() + anchor.h * dy);
    }
}

} // namespace plenvoy
