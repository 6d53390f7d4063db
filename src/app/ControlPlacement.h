#pragma once

#include <QFont>
#include <QList>
#include <QRect>

class QWidget;

namespace plenvoy {

/// A rectangle given in twips (15 to a pixel), in pixels.
QRect twipsRect(int left, int top, int width, int height);
/// The window's bold Arial at a size in points.
QFont arial(double points);
/// A white background that the control paints itself.
void paintWhite(QWidget &widget);

/// How a control follows the window's growth: by the growth in width (x, w) and in height
/// (y, h), each 0 or 1.
struct Anchor {
    int x, y, w, h;
};

/// The controls as placed for the window's smallest size, each with how it follows the
/// window as it grows.
class ControlPlacement final {
public:
    /// Notes the control's geometry as it is now, the one for the smallest window.
    void place(QWidget *control, Anchor anchor);
    /// Places every control for a window grown by dx and dy pixels.
    void follow(int dx, int dy) const;

private:
    struct Placed {
        QWidget *control;
        QRect design;
        Anchor anchor;
    };
    QList<Placed> m_placed;
};

} // namespace plenvoy
