#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/widgetvisibility.h"

#include <QAbstractButton>
#include <QtTest>

// The window's workflow state without a phone: which timers a lost connection
// stops in each state, and the level dialog.
class TestWorkflowStates : public QObject
{
    Q_OBJECT

    static QMap<QString, QTimer *> workflowTimers(MainWindow &w)
    {
        return {{"leftTimeReadable", w.m_timerLeftTimeReadable},
                {"decreaseScanTime", w.m_timerDecreaseScanTime},
                {"allDataReadable", w.m_timerAllDataReadable},
                {"checkStopGetPhotoBeforeScan", w.m_timerCheckStopGetPhotoBeforeScan},
                {"checkCancelScan", w.m_timerCheckCancelScan},
                {"getPhotoByTime", w.m_timerGetPhotoByTime},
                {"updateTablePhoto", w.m_timerUpdateTablePhoto},
                {"checkStopGetPhotoBeforeErase", w.m_timerCheckStopGetPhotoBeforeErase},
                {"checkStopGetPhotoSwitchedAllApp", w.m_timerCheckStopGetPhotoSwitchedAllApp},
                {"decreaseEraseTime", w.m_timerDecreaseEraseTime},
                {"allDataErased", w.m_timerAllDataErased},
                {"checkApkIsDefaultSMSAppReadable", w.m_timerCheckApkIsDefaultSMSAppReadable},
                {"changeDefaultSMSAppReadable", w.m_timerChangeDefaultSMSAppReadable},
                {"checkCancelErase", w.m_timerCheckCancelErase},
                {"testCheckAppQuited", w.m_stepTimer[MainWindow::StepTestCheckAppQuited]},
                {"homeInfoReadable", w.m_timerHomeInfoReadable},
                {"newTCPConnected", w.m_timerNewTCPConnected},
                {"testPort", w.m_stepTimer[MainWindow::StepTestPort]},
                {"slotDeviceIn", w.m_stepTimer[MainWindow::StepSlotDeviceIn]}};
    }

private slots:
    void stopActivityTimersStopsTheStatesTimers_data();
    void stopActivityTimersStopsTheStatesTimers();
    void levelDialogSetsLevelAndLabel();
};

void TestWorkflowStates::stopActivityTimersStopsTheStatesTimers_data()
{
    // Every timer of the scan and erase workflow goes with the connection in
    // every state: the photo stop before a private scan and the
    // default-SMS-app answers are awaited before the phase changes. Of the
    // device link and the session, the timers of the state go.
    QTest::addColumn<bool>("connecting");
    QTest::addColumn<int>("phase");
    QTest::addColumn<QStringList>("linkStopped");
    const QStringList link{"testPort", "slotDeviceIn"};
    const QStringList watchdog{"testCheckAppQuited"};
    QTest::newRow("connecting") << true << int(None) << link;
    // The supervision has already marked the program as connecting when a
    // lost connection ends a scan or an erase.
    QTest::newRow("connecting, scan cut off") << true << int(Scanning) << link;
    QTest::newRow("connecting, erase cut off") << true << int(Erasing) << link;
    QTest::newRow("idle") << false << int(None) << (watchdog + QStringList{"homeInfoReadable", "newTCPConnected"});
    QTest::newRow("scanning") << false << int(Scanning) << watchdog;
    QTest::newRow("scanned") << false << int(Scanned) << watchdog;
    QTest::newRow("erasing") << false << int(Erasing) << watchdog;
}

void TestWorkflowStates::stopActivityTimersStopsTheStatesTimers()
{
    QFETCH(bool, connecting);
    QFETCH(int, phase);
    QFETCH(QStringList, linkStopped);
    MainWindow w;
    w.m_programType = connecting ? ProgramType::ConnectingDevice : ProgramType::Idle;
    w.m_workPhase = WorkPhase(phase);
    const auto timers = workflowTimers(w);
    const QStringList notWorkflow{"testCheckAppQuited", "homeInfoReadable", "newTCPConnected", "testPort",
                                  "slotDeviceIn"};
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        QVERIFY2(it.value(), qPrintable(it.key()));
        it.value()->start(60000); // long enough that none fires during the test
    }
    w.stopActivityTimers();
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        const bool stopped = linkStopped.contains(it.key()) || !notWorkflow.contains(it.key());
        QVERIFY2(it.value()->isActive() != stopped, qPrintable(it.key()));
    }
    for (QTimer *t : timers)
        t->stop();
}

void TestWorkflowStates::levelDialogSetsLevelAndLabel()
{
    MainWindow w;
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
    QCoreApplication::processEvents(); // the form-dependent set-up runs once the window is built
    QCOMPARE(w.m_levelToErase, quint16(3));
    QCOMPARE(w.ui->M_ConformErase_Label_SecurityLevel->text(), QString("Low"));
    QVERIFY(w.ui->T_M_SelectLevel_RatioButton_LowLevel->isChecked());

    w.on_M_ConformErase_PushButton_Setting_clicked();
    QVERIFY(!w.ui->T_M_SelectLevel_1_1->isHidden());
    const struct {
        QAbstractButton *button;
        quint16 level;
        const char *label;
        QAbstractButton *closer;
    } steps[] = {
        {w.ui->T_M_SelectLevel_RatioButton_HighLevel, 10, "High", w.ui->T_M_SelectLevel_PusuButton_Cancel},
        {w.ui->T_M_SelectLevel_RatioButton_MediumLevel, 7, "Medium", w.ui->T_M_SelectLevel_PushButton_Close},
        {w.ui->T_M_SelectLevel_RatioButton_LowLevel, 3, "Low", w.ui->T_M_SelectLevel_PusuButton_OK},
    };
    for (const auto &s : steps) {
        showWidget(w.ui->T_M_SelectLevel_1_1);
        s.button->click();
        QCOMPARE(w.m_levelToErase, s.level);
        QCOMPARE(w.ui->M_ConformErase_Label_SecurityLevel->text(), QString(s.label));
        s.closer->click(); // any way of closing keeps the level
        QVERIFY(w.ui->T_M_SelectLevel_1_1->isHidden());
        QCOMPARE(w.m_levelToErase, s.level);
    }
}

QTEST_MAIN(TestWorkflowStates)
#include "tst_workflowstates.moc"
