#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::initSession()
{
    m_tcpSocket = new QTcpSocket(this);
}
void MainWindow::teardownSession() {}
