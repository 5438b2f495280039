// Functions of other subsystems that the protocol calls and that are not on
// main yet.

#include "mainwindow.h"

// temporary: replaced when window shell lands
void MainWindow::placeNotices() {}

// temporary: replaced when device link lands
void MainWindow::resetAdbCheckState() {}
// temporary: replaced when device link lands
void MainWindow::testAdbDevices() {}
// temporary: replaced when device link lands
void MainWindow::closeProgram() {}

// temporary: replaced when workflow lands
void MainWindow::pauseCountdownForBackground() {}
// temporary: replaced when workflow lands
void MainWindow::resumeCountdownForForeground() {}
