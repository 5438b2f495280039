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
                {"testCheckAppQuited", w.m_timerTestCheckAppQuited},
                {"homeInfoReadable", w.m_timerHomeInfoReadable},
                {"newTCPConnected", w.m_timerNewTCPConnected},
                {"testPort", w.m_timerTestPort},
                {"slotDeviceIn", w.m_timerSlotDeviceIn}};
    }

private slots:
    void stopActivityTimersStopsTheStatesTimers_data();
    void stopActivityTimersStopsTheStatesTimers();
    void levelDialogSetsLevelAndLabel();
};

void TestWorkflowStates::stopActivityTimersStopsTheStatesTimers_data()
{
    QTest::addColumn<bool>("connecting");
    QTest::addColumn<int>("phase");
    QTest::addColumn<QStringList>("stopped");
    QTest::newRow("connecting") << true << int(None) << QStringList{"testPort", "slotDeviceIn"};
    // The supervision has already marked the program as connecting when a
    // lost connection ends a scan or an erase.
    QTest::newRow("connecting, scan cut off")
        << true << int(Scanning)
        << QStringList{"testPort", "slotDeviceIn", "leftTimeReadable", "decreaseScanTime", "allDataReadable",
                       "checkStopGetPhotoBeforeScan", "checkCancelScan"};
    QTest::newRow("connecting, erase cut off")
        << true << int(Erasing)
        << QStringList{"testPort", "slotDeviceIn", "decreaseEraseTime", "allDataErased",
                       "checkApkIsDefaultSMSAppReadable", "changeDefaultSMSAppReadable", "checkCancelErase"};
    QTest::newRow("idle") << false << int(None)
                          << QStringList{"testCheckAppQuited", "homeInfoReadable", "newTCPConnected"};
    QTest::newRow("scanning") << false << int(Scanning)
                              << QStringList{"testCheckAppQuited", "leftTimeReadable", "decreaseScanTime",
                                             "allDataReadable", "checkStopGetPhotoBeforeScan", "checkCancelScan"};
    // Erase Now waits for the default-SMS-app answers before the phase turns
    // to erasing.
    QTest::newRow("scanned") << false << int(Scanned)
                             << QStringList{"testCheckAppQuited", "getPhotoByTime", "updateTablePhoto",
                                            "checkStopGetPhotoBeforeErase", "checkStopGetPhotoSwitchedAllApp",
                                            "checkApkIsDefaultSMSAppReadable", "changeDefaultSMSAppReadable"};
    QTest::newRow("erasing") << false << int(Erasing)
                             << QStringList{"testCheckAppQuited", "decreaseEraseTime", "allDataErased",
                                            "checkApkIsDefaultSMSAppReadable", "changeDefaultSMSAppReadable",
                                            "checkCancelErase"};
}

void TestWorkflowStates::stopActivityTimersStopsTheStatesTimers()
{
    QFETCH(bool, connecting);
    QFETCH(int, phase);
    QFETCH(QStringList, stopped);
    MainWindow w;
    w.m_programType = connecting ? ProgramType::ConnectingDevice : ProgramType::Idle;
    w.m_workPhase = WorkPhase(phase);
    const auto timers = workflowTimers(w);
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        QVERIFY2(it.value(), qPrintable(it.key()));
        it.value()->start(60000); // long enough that none fires during the test
    }
    w.stopActivityTimers();
    for (auto it = timers.begin(); it != timers.end(); ++it)
        QVERIFY2(it.value()->isActive() != stopped.contains(it.key()), qPrintable(it.key()));
    for (QTimer *t : timers)
        t->stop();
}

void TestWorkflowStates::levelDialogSetsLevelAndLabel()
{
    MainWindow w;
    w.m_timerTestPort->stop();
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
