#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initWindowShell() {}
void MainWindow::hidePages() {}
void MainWindow::hideNotices() {}
