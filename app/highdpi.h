#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

namespace app {

// High-DPI screens: the window is laid out in fixed pixel coordinates and
// Qt scales it, text and pictures together, by the screen's scale factor.

// Switches Qt's high-DPI scaling on. Call before the QApplication is made.
// The scale factor is passed through unrounded (150 % stays 1.5): a fixed
// layout keeps its proportions only when point-sized text and pixel
// geometry are scaled by the same factor, and a rounded factor (2 for 150 %)
// would also make the window too large for the screen it was meant for.
void enableHighDpiScaling();

// A picture of the resources for the screens of this program: the picture
// itself on a screen that does not scale, else its "@2x" drawing, smoothly
// brought to the exact scale (1.25, 1.5, 2, ...), so nothing is drawn
// blurred or jagged. The form's pictures are loaded through this.
QPixmap purgatexPicture(const char *path);
QPixmap purgatexPicture(const QString &path);

// The "@2x" name of a picture ("a/b.png" -> "a/b@2x.png"); empty when the
// name has no extension.
QString doubleSizeName(const QString &path);

// On a screen that scales by a fraction (1.25, 1.5), the buttons whose style
// sheet draws a picture (background-image, border-image) paint it smoothly
// scaled from its "@2x" drawing instead of by every other pixel. Installed on
// the buttons under root; on whole-number scales they paint as always.
void smoothButtonPictures(QWidget *root);

} // namespace app
