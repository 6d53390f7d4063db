#pragma once

class QPoint;
class QWidget;

namespace plenvoy {

/// "About Plenvoy": the version, the licence, the project's address and the libraries used.
void showAbout(QWidget &window);
/// The help: the desktop's help viewer when it has one, otherwise the project's address.
void openHelp();
/// The menu of the window's background: Help and About.
void helpMenu(QWidget &window, const QPoint &globalPosition);

} // namespace plenvoy
