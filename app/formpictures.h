#pragma once

// The pictures of the designer form (label pictures and button icons) are
// decoded when they are first needed instead of all while the window is
// built: most of them lie on pages and notices that are not on screen at
// start. uic calls formPicture() for each picture of the form (the form's
// pixmap function); it hands out a small stand-in and notes the picture's
// path. bindFormPictures() then gives every button its icon at once and
// every label its picture when the label is first shown or painted,
// whichever comes first (a label that code has given another picture
// meanwhile keeps that one). Which files exist is the resources' business;
// this is only when they are read.

#include <QPixmap>

class QWidget;

namespace app {

QPixmap formPicture(const char *path);
void bindFormPictures(QWidget *root);

} // namespace app
