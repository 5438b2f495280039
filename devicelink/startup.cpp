#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initEnvironment() {}
void MainWindow::initLibraryPaths() {}
void MainWindow::initStepProcesses() {}
void MainWindow::initStepTimers()
{
    m_timerTestPort = new QTimer(this);
}
void MainWindow::initDeviceWatcher() {}
void MainWindow::teardownDeviceLink() {}
