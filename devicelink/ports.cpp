// Port conflicts. Every connection attempt starts with the port check: port
// 5037 belongs to the adb server. A foreign holder is reported by name and
// left alone; another adb server is asked to quit; a holder that cannot be
// named (an adb server of another user) is explained. When the forward to
// port 10000 fails, the holder of 10000 is found and ended by its process id.
#include "devicelink/outputrules.h"
#include "devicelink/stepdef.h"
#include "ui_mainwindow.h"

#include <QDebug>

using namespace devicelink;

namespace {

using Step = MainWindow::StepDef;
const QStringList kNetstat = {QStringLiteral("-anop"), QStringLiteral("tcp")};
const QStringList kKillServer = {QStringLiteral("kill-server")};

const Step kPortCheck = Step(MainWindow::StepTestPort)
                            .runs(StepTool::Netstat, kNetstat, StepWait::Short)
                            .logs("start test port", "port readready,times:", "result error:", "port ,")
                            .rules(&MainWindow::judgePort, &MainWindow::decidePort);

const Step kPid5037 = Step(MainWindow::StepTestGetOtherSoftPidBy5037)
                          .runs(StepTool::Netstat, kNetstat, StepWait::Short)
                          .logs("start test read soft pid use 5037", "get other sort pid, readready,times:", nullptr)
                          .rules(&MainWindow::judgePid5037, &MainWindow::decidePid5037);

const Step kName5037 = Step(MainWindow::StepTestGetOtherSoftNameByPid)
                           .runs(StepTool::Tasklist, {}, StepWait::Short, &MainWindow::tasklistArgs5037)
                           .logs("start test get pid's Name", "get other soft pid's name, readready,times:",
                                 "result error:")
                           .logsResult("readGetOtherSoftNameBy5037 result right,is:")
                           .logsDone("after get pid's name of 5037 while")
                           .rules(&MainWindow::judgeName5037, &MainWindow::decideName5037);

const Step kKillAdb = Step(MainWindow::StepTestKillAdb)
                          .runs(StepTool::Adb, kKillServer, StepWait::Adb)
                          .logs("start kill adb", "kill adb readready,times:", "kill abd result error:")
                          .logsResult("kill adb result str:")
                          .rules(&MainWindow::judgeKillAdb, &MainWindow::decideKillAdb);

// The 10000 branch probes the phone after every command.
const Step kPid10000 = Step(MainWindow::StepTestGetOtherSoftPidBy10000)
                           .runs(StepTool::Netstat, kNetstat, StepWait::Short)
                           .probes(StepProbe::Always)
                           .logs("start test read soft pid use 10000",
                                 "get other soft pid,after forward, readready,times:", nullptr)
                           .rules(&MainWindow::judgePid10000, &MainWindow::decidePid10000);

const Step kName10000 =
    Step(MainWindow::StepTestGetOtherSoftNameByPid_10000)
        .runs(StepTool::Tasklist, {}, StepWait::Short, &MainWindow::tasklistArgs10000)
        .probes(StepProbe::Always)
        .logs("start test get pid's Name", "get other soft pid's name,after forward, readready,times:",
              "result error:")
        .logsResult("readGetOtherSoftNameBy10000 result right")
        .logsDone("after get pid's name while")
        .rules(&MainWindow::judgeName10000, &MainWindow::decideName10000);

// The holder is ended by its process id: ending it by image name would end
// every process of that name (every window of a browser, or worse).
const Step kKill10000 = Step(MainWindow::StepTestKillOtherSoftBy10000)
                            .runs(StepTool::Taskkill, {}, StepWait::Short, &MainWindow::taskkillArgs10000)
                            .probes(StepProbe::Always)
                            .logs("start kill other soft use 10000",
                                  "kill other soft use 10000,before forward, readready,times:", "result error:")
                            .logsDone("after kill other soft use 10000 while")
                            .rules(&MainWindow::judgeKill10000, &MainWindow::decideKill10000);

} // namespace

QStringList MainWindow::tasklistArgs5037() const { return tasklistArguments(m_otherSoftPid5037); }
QStringList MainWindow::tasklistArgs10000() const { return tasklistArguments(m_otherSoftPid10000); }
QStringList MainWindow::taskkillArgs10000() const { return taskkillArguments(m_otherSoftPid10000); }

// ---- Port check ----

void MainWindow::testPort()
{
    m_programType = ProgramType::ConnectingDevice;
    runStep(kPortCheck);
}

void MainWindow::judgePort(const QString *out) { m_port5037Used = out && port5037Used(*out); }

void MainWindow::decidePort(bool)
{
    if (takeStepError(StepTestPort)) {
        resetAdbCheckState();
        showLinkNotice(ui->A_MP_D_PortUsed);
        showLinkPage(ui->A_MP_PleaseConnect_1);
        retryCalmly(); // told from the first round
        armStep(StepTestPort, 100);
        qDebug() << "port,e";
    } else if (m_port5037Used) {
        showLinkPage(ui->A_MP_PleaseConnect_1);
        armStep(StepTestGetOtherSoftPidBy5037, 1);
        qDebug() << "port,no e,use";
    } else {
        clearLinkProblem(LinkProblem::Port5037Held);
        hideLinkNotice(ui->A_MP_D_PortUsed);
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        armStep(StepTestStartAdb, 1);
        qDebug() << "port,no e,no use";
    }
}

// ---- Holder of 5037: process id ----

void MainWindow::testGetOtherSoftPidBy5037() { runStep(kPid5037); }

void MainWindow::judgePid5037(const QString *out)
{
    const QString pid = out ? holderPid5037(*out) : QString();
    if (!pid.isEmpty()) {
        m_otherSoftPid5037 = pid;
        qDebug() << "find soft pid,is:" << pid;
    }
}

void MainWindow::decidePid5037(bool)
{
    if (takeStepError(StepTestGetOtherSoftPidBy5037)) {
        resetAdbCheckState();
        hideLinkNotice(ui->A_MP_D_PortUsed);
        armStep(StepTestPort, 1);
    } else if (!m_otherSoftPid5037.isEmpty()) {
        armStep(StepTestGetOtherSoftNameByPid, 1);
    } else {
        // The port is held, but by no process this user can see.
        noteLinkProblem(LinkProblem::Port5037Held);
        resetAdbCheckState();
        hideLinkNotice(ui->A_MP_D_PortUsed);
        armStep(StepTestPort, 1);
    }
}

// ---- Holder of 5037: image name ----

void MainWindow::testGetOtherSoftNameByPid() { runStep(kName5037); }

void MainWindow::judgeName5037(const QString *out)
{
    const QString name = out ? imageNameForPid(*out, m_otherSoftPid5037) : QString();
    if (!name.isEmpty())
        m_otherSoftName5037 = name;
}

void MainWindow::decideName5037(bool)
{
    const QString name = m_otherSoftName5037;
    if (takeStepError(StepTestGetOtherSoftNameByPid)) {
        resetAdbCheckState();
        armStep(StepTestGetOtherSoftPidBy5037, 100);
    } else if (name.contains(QLatin1String("adb"))) {
        // Another adb server: ask it to quit.
        ui->A_MP_D_PortUsed_Label_Info->setText(name);
        hideLinkNotice(ui->A_MP_D_PortUsed);
        resetAdbCheckState();
        armStep(StepTestKillAdb, 1);
    } else if (!name.isEmpty()) {
        // A foreign program: name it, end nothing, and check again, calmly
        // now that the notice tells.
        ui->A_MP_D_PortUsed_Label_Info->setText(name);
        showLinkNotice(ui->A_MP_D_PortUsed);
        resetAdbCheckState();
        retryCalmly();
        armStep(StepTestPort, 1);
    } else {
        noteLinkProblem(LinkProblem::Port5037Held);
        hideLinkNotice(ui->A_MP_D_PortUsed);
        resetAdbCheckState();
        armStep(StepTestPort, 1);
    }
}

// ---- Stop the adb server holding 5037 ----

void MainWindow::testKillAdb() { runStep(kKillAdb); }

void MainWindow::judgeKillAdb(const QString *out)
{
    m_adbKilled = out && killServerSucceeded(*out);
    if (m_adbKilled)
        qDebug() << "kill adb right";
}

void MainWindow::decideKillAdb(bool)
{
    showLinkPage(ui->A_MP_PleaseConnect_1);
    if (!takeStepError(StepTestKillAdb) && m_adbKilled) {
        resetAdbCheckState();
        armStep(StepTestPort, 100);
        qDebug() << "after kill adb check";
    } else {
        // A server that does not quit: most likely another user's.
        noteLinkProblem(LinkProblem::Port5037Held);
        armStep(StepTestKillAdb, 100);
        qDebug() << "not final kill adb";
    }
}

// ---- Holder of 10000: process id ----

void MainWindow::testGetOtherSoftPidBy10000() { runStep(kPid10000); }

void MainWindow::judgePid10000(const QString *out)
{
    if (!out)
        return;
    const QString pid = holderPid10000(*out);
    if (!pid.isEmpty()) {
        m_otherSoftPid10000 = pid;
        qDebug() << "find soft pid,is:" << pid;
    } else {
        qDebug() << "not find soft pid,is:" << m_otherSoftPid10000;
    }
}

void MainWindow::decidePid10000(bool phoneListed)
{
    const bool error = takeStepError(StepTestGetOtherSoftPidBy10000);
    if (!phoneListed) {
        fallBackToPresencePoll();
    } else if (!error && !m_otherSoftPid10000.isEmpty()) {
        armStep(StepTestGetOtherSoftNameByPid_10000, 100);
    } else {
        // Nothing to end: the forward itself fails.
        ui->A_MP_D_PortUsed_Label_Info->setText(QString());
        clearLinkProblem(LinkProblem::Port10000Held);
        noteLinkProblem(LinkProblem::ForwardFailed, stepComplaint(StepTestForwardAdb));
        resetAdbCheckState();
        armStep(StepTestForwardAdb, 100);
    }
}

// ---- Holder of 10000: image name ----

void MainWindow::testGetOtherSoftNameByPid_10000() { runStep(kName10000); }

void MainWindow::judgeName10000(const QString *out)
{
    const QString name = out ? imageNameForPid(*out, m_otherSoftPid10000) : QString();
    if (!name.isEmpty())
        m_otherSoftName10000 = name;
}

void MainWindow::decideName10000(bool phoneListed)
{
    const bool error = takeStepError(StepTestGetOtherSoftNameByPid_10000);
    if (!phoneListed) {
        fallBackToPresencePoll();
    } else if (error) {
        resetAdbCheckState();
        armStep(StepTestGetOtherSoftPidBy10000, 100);
    } else if (!m_otherSoftName10000.isEmpty()) {
        armStep(StepTestKillOtherSoftBy10000, 100);
    } else {
        noteLinkProblem(LinkProblem::Port10000Held, QStringLiteral("PID ") + m_otherSoftPid10000);
        resetAdbCheckState();
        armStep(StepTestForwardAdb, 100);
    }
}

// ---- End the holder of 10000 ----

void MainWindow::testKillOtherSoftBy10000()
{
    qDebug() << "holder of port 10000:" << m_otherSoftName10000 << "pid:" << m_otherSoftPid10000;
    runStep(kKill10000);
}

void MainWindow::judgeKill10000(const QString *out)
{
    m_otherSoftKilled = out != nullptr; // exit code 0
    if (m_otherSoftKilled)
        qDebug() << " readKillOtherSoftBy10000 right";
}

// A holder that is ended but whose port is held again by the next forward
// counts as a round of the same problem; the forward that works clears it.
void MainWindow::decideKill10000(bool phoneListed)
{
    const bool error = takeStepError(StepTestKillOtherSoftBy10000);
    if (!phoneListed) {
        fallBackToPresencePoll();
        return;
    }
    noteLinkProblem(LinkProblem::Port10000Held, m_otherSoftName10000);
    if (error) {
        armStep(StepTestGetOtherSoftNameByPid_10000, 100);
    } else {
        resetAdbCheckState();
        armStep(StepTestForwardAdb, 100);
    }
}
