#include "mainwindow.h"

#include <QtTest>

// Start-up: the window builds, and the device link waits for the event loop.
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void constructsWithoutRunningAStep()
    {
        MainWindow w;
        QVERIFY(w.m_timerTestPort);
        QVERIFY(w.m_timerTestPort->isActive());
        QCOMPARE(w.m_timerTestPort->interval(), 100);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
