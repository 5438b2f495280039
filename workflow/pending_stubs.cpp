#include "mainwindow.h"

// temporary: replaced when protocol lands
void MainWindow::getContact() {}
void MainWindow::getFacebookDir() {}
void MainWindow::getTwitterDir() {}
void MainWindow::getSkypeDir() {}
void MainWindow::getViberDir() {}
void MainWindow::getKikMessengerDir() {}
void MainWindow::getWhtatsAppDir() {}
void MainWindow::sendCancelErase() {}
void MainWindow::checkApkIsDefaultSMSApp() {}
void MainWindow::changeDefaultSMSApp() {}
void MainWindow::sendCloseProgram() {}
void MainWindow::sendPrivateLeftTime() {}
void MainWindow::sendAllLeftTime() {}
void MainWindow::sendAppLeftTime() {}
void MainWindow::sendEraseBegin() {}
void MainWindow::sendEraseContact() {}
void MainWindow::sendEraseHistory() {}
void MainWindow::sendEraseMessage() {}
void MainWindow::sendErasePhoto() {}
void MainWindow::sendEraseAudio() {}
void MainWindow::sendEraseVedio() {}
void MainWindow::sendEraseAllContact() {}
void MainWindow::sendEraseAllHistory() {}
void MainWindow::sendEraseAllMessage() {}
void MainWindow::sendEraseAllPhoto() {}
void MainWindow::sendEraseAllAudio() {}
void MainWindow::sendEraseAllVedio() {}
void MainWindow::sendEraseAllFacebook() {}
void MainWindow::sendEraseAllTwitter() {}
void MainWindow::sendEraseAllSkype() {}
void MainWindow::sendEraseAllViber() {}
void MainWindow::sendEraseAllKik() {}
void MainWindow::sendEraseAllWhatsapp() {}
void MainWindow::getMessageCount() {}

// temporary: replaced when devicelink lands
void MainWindow::testReboot() {}
void MainWindow::closeProgram() {}
QList<QTimer *> MainWindow::deviceLinkStepTimers()
{
    return {m_timerTestPort, m_timerSlotDeviceIn};
}

