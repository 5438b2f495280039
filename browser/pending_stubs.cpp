#include "mainwindow.h"

// temporary: replaced when workflow lands
void MainWindow::getApp() {}
