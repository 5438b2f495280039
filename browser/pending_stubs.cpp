#include "mainwindow.h"

// temporary: replaced when protocol lands
void MainWindow::getHistory() {}
void MainWindow::getMessage() {}
void MainWindow::getPhotoDir() {}
void MainWindow::getAudioDir() {}
void MainWindow::getVedioDir() {}
void MainWindow::sendCancelScan() {}
void MainWindow::sendGetPhotoByName(const QString &) {}
void MainWindow::sendStopGetPhoto() {}
