#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace plenvoy {

/// A window skin: a Qt style sheet read from a skin file, applied to one window.
class Skin final {
public:
    /// Reads the skin file; pictures that the sheet names as url(skin:NAME) are taken from
    /// the skin file's folder. The whole file is the sheet. Raises a failure when the file
    /// cannot be read or is not a style sheet (empty, not UTF-8, unbalanced braces).
    void load(const QString &path);

    /// Applies the loaded sheet to the window. The boxes, dialogs and tool tips it opens take
    /// the skin through their parent; other windows of the process keep their own look.
    void apply(QWidget &window) const;

private:
    QString m_styleSheet;
};

/// Skins the window when the skin file is a file: the window and its frames turn to the
/// button-face colour, then the skin is loaded and applied. Without the file nothing
/// changes. A skin that cannot be loaded raises its failure; colours already changed stay.
void ApplySkin(QWidget &window, const QString &skinPath);

/// The button-face colour of the system palette.
QColor buttonFaceColour();

} // namespace plenvoy
