#include "mainwindow.h"

QList<QTimer *> MainWindow::deviceLinkStepTimers()
{
    return {m_timerTestPort, m_timerSlotDeviceIn};
}
