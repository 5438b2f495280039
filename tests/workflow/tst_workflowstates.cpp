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

    // Every timer of the window's tables: the step timers and the polls.
    static QList<QTimer *> allTimers(MainWindow &w)
    {
        QList<QTimer *> timers;
        for (const MainWindow::TimedStep &t : MainWindow::timedSteps())
            timers << w.m_stepTimer[t.step];
        for (const MainWindow::PollDef &p : MainWindow::polls())
            timers << w.*p.timer;
        return timers;
    }

    // The timers a lost connection may leave running, by name.
    static QMap<QString, QTimer *> exceptions(MainWindow &w)
    {
        return {{"testCheckAppQuited", w.m_stepTimer[MainWindow::StepTestCheckAppQuited]},
                {"homeInfoReadable", w.m_timerHomeInfoReadable},
                {"newTCPConnected", w.m_timerNewTCPConnected},
                {"receiveData", w.m_timerReceiveData},
                {"sendOutgoing", w.m_timerSendOutgoing},
                {"verifyErase", w.m_timerVerifyErase},
                {"verifyGiveUp", w.m_timerVerifyGiveUp}};
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
    QTest::addColumn<QStringList>("running");
    QTest::addColumn<bool>("linkRuns"); // the device link's step timers are left alone
    // The session's own loops and the verification pass stop themselves.
    const QStringList session{"receiveData", "sendOutgoing", "verifyErase", "verifyGiveUp"};
    const QStringList watchdog{"testCheckAppQuited"};
    const QStringList supervision{"homeInfoReadable", "newTCPConnected"};
    QTest::newRow("connecting") << true << int(None) << session + watchdog + supervision << false;
    // The supervision has already marked the program as connecting when a
    // lost connection ends a scan or an erase.
    QTest::newRow("connecting, scan cut off") << true << int(Scanning) << session + watchdog + supervision << false;
    QTest::newRow("connecting, erase cut off") << true << int(Erasing) << session + watchdog + supervision << false;
    QTest::newRow("idle") << false << int(None) << session << true;
    QTest::newRow("scanning") << false << int(Scanning) << session + supervision << true;
    QTest::newRow("scanned") << false << int(Scanned) << session + supervision << true;
    QTest::newRow("erasing") << false << int(Erasing) << session + supervision << true;
}

void TestWorkflowStates::stopActivityTimersStopsTheStatesTimers()
{
    QFETCH(bool, connecting);
    QFETCH(int, phase);
    QFETCH(QStringList, running);
    QFETCH(bool, linkRuns);
    MainWindow w;
    w.m_programType = connecting ? ProgramType::ConnectingDevice : ProgramType::Idle;
    w.m_workPhase = WorkPhase(phase);
    const QList<QTimer *> timers = allTimers(w);
    // One timer per row: a row given twice would leave a timer nobody stops.
    QCOMPARE(QSet<QTimer *>(timers.begin(), timers.end()).size(), timers.size());
    QSet<QTimer *> keep;
    const auto named = exceptions(w);
    for (const QString &name : running)
        keep << named.value(name);
    for (const MainWindow::TimedStep &t : MainWindow::timedSteps()) {
        if (linkRuns && t.kind == MainWindow::LinkStep)
            keep << w.m_stepTimer[t.step];
    }
    for (QTimer *t : timers) {
        QVERIFY(t);
        t->start(60000); // long enough that none fires during the test
    }
    w.stopActivityTimers();
    for (int i = 0; i < timers.size(); ++i)
        QVERIFY2(timers.at(i)->isActive() == keep.contains(timers.at(i)),
                 qPrintable(QString("timer %1 of the tables: %2").arg(i).arg(named.key(timers.at(i)))));
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
        app::showWidget(w.ui->T_M_SelectLevel_1_1);
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
