// The step engine: runs any step of the device link from its declaration
// (stepdef.h), one at a time, without ever waiting inside a slot. A step
// starts its command and returns; the command's output is collected as it
// comes; its end (finished, not started, or its time-out, which ends it and
// counts as a failure) runs the output rule, then the device probe when the
// step wants one, then the step's outcome rows.
#include "devicelink/outputrules.h"
#include "devicelink/stepdef.h"
#include "devicelink/toollocator.h"
#include "ui_mainwindow.h"

#include <QDebug>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

using namespace devicelink;

namespace {

// The device probe: refreshes m_hasDevice and m_isOffline; it runs as a step
// of its own and after every command of the steps that probe.
const MainWindow::StepDef kDeviceProbe =
    MainWindow::StepDef(MainWindow::StepTestAdbDevices)
        .runs(StepTool::Adb, {QStringLiteral("devices")}, StepWait::Short)
        .logs("test adb devices", "test adb devices read str:", nullptr)
        .logsChunksAs(ChunkLog::Output)
        .logsPending("test adb devices result 0:")
        .rules(&MainWindow::judgeDevices, nullptr);

// A step whose timer fires while another step's command runs waits this
// long and tries again (two chains of steps must never interleave commands).
const int kWaitForTurnMs = 100;

bool failed(int exitCode) { return exitCode != 0; }

} // namespace

void MainWindow::appendStepTrace(const char *tag)
{
    appendHiddenTrace(ui->testLabel_2, QLatin1String(tag));
}

// ---------------------------------------------------------------------------
// Starting
// ---------------------------------------------------------------------------

void MainWindow::runStep(const StepDef &def)
{
    // Once the exit command is on its way nothing takes its place: a reply
    // of the phone, a give-up of the session or a late timer would otherwise
    // end it, and the program would stay open.
    if (m_closeRequested && def.step != StepCloseProgram)
        return;
    QTimer *const ownTimer = m_stepTimer[def.step];
    if (m_runningStep) {
        if (ownTimer) {
            qDebug() << "step waits for its turn:" << def.startLog;
            ownTimer->start(kWaitForTurnMs);
            return;
        }
        abandonRunningStep(); // a direct call (reboot, hand-back) takes over
    }
    m_retryCalmly = false; // a new round of this step's own
    if (def.trace)
        appendStepTrace(def.trace);
    if (ownTimer)
        ownTimer->stop();
    if (def.startLog)
        qDebug() << def.startLog;
    m_runningStep = &def;
    m_stepProbing = def.tool == StepTool::None;
    startStepCommand(m_stepProbing ? kDeviceProbe : def);
}

QString MainWindow::programOf(const StepDef &def) const
{
    switch (def.tool) {
    case StepTool::Adb: return m_adbProgram;
    case StepTool::Netstat: return m_netstatProgram;
    case StepTool::Tasklist: return m_tasklistProgram;
    case StepTool::Taskkill: return m_taskkillProgram;
    case StepTool::None: break;
    }
    return QString();
}

void MainWindow::startStepCommand(const StepDef &def)
{
    StepIo &io = m_step[def.step];
    io.output.clear();
    QStringList arguments = def.arguments;
    if (def.moreArguments)
        arguments += (this->*def.moreArguments)();
    const int timeout = def.wait == StepWait::Short ? m_shortCommandMs
                        : def.wait == StepWait::Adb ? m_adbCommandMs
                                                    : m_installSilenceMs;
    m_timerStepTimeout->start(timeout);
    // A command that cannot be started may say so inside start().
    io.process->start(programOf(def), arguments, QIODevice::ReadWrite);
}

// ---------------------------------------------------------------------------
// While the command runs
// ---------------------------------------------------------------------------

void MainWindow::stepOutput(DeviceStep step)
{
    StepIo &io = m_step[step];
    const QString chunk = QString::fromLocal8Bit(io.process->readAllStandardOutput());
    const StepDef *def = m_stepProbing ? &kDeviceProbe : m_runningStep;
    if (!def || def->step != step)
        return;
    ++io.readTimes;
    io.output += chunk;
    switch (def->chunkStyle) {
    case ChunkLog::Count: qDebug() << def->chunkLog << io.readTimes; break;
    case ChunkLog::CountAndOutput: qDebug() << def->chunkLog << io.readTimes << "content:" << io.output; break;
    case ChunkLog::Output: qDebug() << def->chunkLog << io.output; break;
    }
    if (def->onChunk)
        (this->*def->onChunk)();
    // A command that keeps printing is not hung.
    if (def->wait == StepWait::Install)
        m_timerStepTimeout->start();
}

// ---------------------------------------------------------------------------
// The command's end
// ---------------------------------------------------------------------------

void MainWindow::stepCommandDone(DeviceStep step, int exitCode)
{
    const StepDef *def = m_stepProbing ? &kDeviceProbe : m_runningStep;
    if (!def || def->step != step)
        return; // an abandoned command
    judgeStep(*def, exitCode);
    endStepCommand(*def, failed(exitCode));
}

void MainWindow::stepCommandNotStarted(DeviceStep step)
{
    const StepDef *def = m_stepProbing ? &kDeviceProbe : m_runningStep;
    if (!def || def->step != step)
        return;
    qDebug() << "command not started:" << programOf(*def) << m_step[step].process->errorString();
    if (def->tool == StepTool::Adb) {
        noteLinkProblem(LinkProblem::AdbMissing, adbSearchPlacesForThisProcess().join(QLatin1Char('\n')));
        // Looked for afresh: adb put in one of the places since is used by
        // the next round, without a restart.
        const QString adb = locateToolsForThisProcess().adb;
        if (adb != m_adbProgram) {
            m_adbProgram = adb;
            qDebug() << "adb used:" << m_adbProgram;
        }
    }
    // A device list that could not be asked for lists no phone: the last
    // probe's answer does not stand for this one.
    if (def == &kDeviceProbe)
        judgeDevices(nullptr);
    // No other handler has run: the step decides on its flags as they stand.
    endStepCommand(*def, false);
}

// The command has taken too long: it is ended and counts as failed.
void MainWindow::stepTimedOut()
{
    const StepDef *def = m_stepProbing ? &kDeviceProbe : m_runningStep;
    if (!def)
        return;
    qDebug() << "command timed out:" << programOf(*def) << m_step[def->step].process->arguments()
             << "after" << m_timerStepTimeout->interval() << "ms";
    judgeStep(*def, -1);
    retireStepProcess(def->step);
    endStepCommand(*def, true);
}

// The output rule on exit code 0; otherwise the failure path: standard error
// logged line by line, the results cleared, the error flag set.
void MainWindow::judgeStep(const StepDef &def, int exitCode)
{
    StepIo &io = m_step[def.step];
    if (!def.judge)
        return;
    io.lastError = QString::fromLocal8Bit(io.process->readAllStandardError());
    if (failed(exitCode)) {
        if (def.errorLog) {
            qDebug() << def.errorLog;
            for (const QString &line : outputLines(io.lastError))
                qDebug().noquote() << line;
        }
        io.lastOutput = io.output;
        io.output.clear();
        io.error = true;
        (this->*def.judge)(nullptr);
        return;
    }
    const QString pending = QString::fromLocal8Bit(io.process->readAllStandardOutput());
    io.output += pending;
    if (def.pendingLog)
        qDebug() << def.pendingLog << pending;
    if (def.resultLog)
        qDebug() << def.resultLog << io.output;
    io.lastOutput = io.output;
    (this->*def.judge)(&io.output);
    io.output.clear();
}

void MainWindow::endStepCommand(const StepDef &def, bool commandFailed)
{
    m_timerStepTimeout->stop();
    if (def.doneLog)
        qDebug() << def.doneLog;
    m_step[def.step].readTimes = 0;
    const StepDef &step = *m_runningStep;
    if (m_stepProbing) {
        finishStep(step);
        return;
    }
    const bool probe = step.probe == StepProbe::Always || (step.probe == StepProbe::UnlessError && !commandFailed
                                                            && !m_step[step.step].error);
    if (probe) {
        m_stepProbing = true;
        startStepCommand(kDeviceProbe);
        return;
    }
    finishStep(step);
}

void MainWindow::finishStep(const StepDef &def)
{
    m_runningStep = nullptr;
    m_stepProbing = false;
    if (def.decide)
        (this->*def.decide)(m_hasDevice);
}

// ---------------------------------------------------------------------------
// Stopping
// ---------------------------------------------------------------------------

QProcess *MainWindow::newStepProcess(DeviceStep step, const QProcess *sameEnvironmentAs)
{
    auto *p = new QProcess;
    if (sameEnvironmentAs)
        p->setProcessEnvironment(sameEnvironmentAs->processEnvironment());
    else
        p->setEnvironment(QProcess::systemEnvironment());
    connect(p, &QProcess::readyReadStandardOutput, this, [this, step] { stepOutput(step); });
    // A command killed by a signal has no exit code of its own; it counts as
    // failed rather than as a silent success.
    connect(p, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this, step](int exitCode, QProcess::ExitStatus status) {
                stepCommandDone(step, status == QProcess::CrashExit && exitCode == 0 ? -1 : exitCode);
            });
    connect(p, &QProcess::errorOccurred, this, [this, step](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            stepCommandNotStarted(step);
    });
    connect(p, &QProcess::started, this, [this, p] {
        if (p->program() == m_adbProgram)
            clearLinkProblem(LinkProblem::AdbMissing);
    });
#ifdef Q_OS_WIN
    p->setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES; // 0x101
        args->startupInfo->wShowWindow = SW_HIDE;
    });
#endif
    return p;
}

// A command left behind is ended; its process object goes once it has
// really ended, and the step gets a fresh one.
void MainWindow::retireStepProcess(DeviceStep step)
{
    QProcess *old = m_step[step].process;
    old->disconnect(this);
    old->setParent(this); // gone with the window at the latest
    if (old->state() == QProcess::NotRunning) {
        old->deleteLater();
    } else {
        connect(old, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), old, &QObject::deleteLater);
        old->kill();
    }
    m_step[step].process = newStepProcess(step);
}

void MainWindow::abandonRunningStep()
{
    if (!m_runningStep)
        return;
    const StepDef &def = m_stepProbing ? kDeviceProbe : *m_runningStep;
    qDebug() << "step abandoned:" << m_runningStep->startLog;
    m_timerStepTimeout->stop();
    if (m_step[def.step].process->state() != QProcess::NotRunning)
        retireStepProcess(def.step);
    m_runningStep = nullptr;
    m_stepProbing = false;
}

void MainWindow::stopDeviceLink()
{
    for (QTimer *t : m_stepTimer) {
        if (t)
            t->stop();
    }
    abandonRunningStep();
}

void MainWindow::abandonStepsOf(const QList<QTimer *> &timers)
{
    if (m_runningStep && m_stepTimer[m_runningStep->step] && timers.contains(m_stepTimer[m_runningStep->step]))
        abandonRunningStep();
}

bool MainWindow::deviceLinkStepRunning() const
{
    return m_runningStep && m_runningStep->step != StepTestCheckAppQuited;
}

// ---------------------------------------------------------------------------
// Helpers of the outcome rows
// ---------------------------------------------------------------------------

bool MainWindow::takeStepError(DeviceStep step)
{
    const bool error = m_step[step].error;
    m_step[step].error = false;
    return error;
}

// What the tool said went wrong in the step's last run, for the notices.
QString MainWindow::stepComplaint(DeviceStep step) const
{
    return complaintLine(m_step[step].lastOutput, m_step[step].lastError);
}

void MainWindow::armStep(QTimer *timer, int ms)
{
    // A round that met a problem the user has been told of goes on calmly:
    // the loop behind the notice runs about once a second, not hundreds of
    // times, and still goes on within a second once the cause is gone.
    if (m_retryCalmly)
        ms = qMax(ms, m_toldRetryMs);
    m_retryCalmly = false;
    if (timer)
        timer->start(ms);
}

void MainWindow::retryCalmly() { m_retryCalmly = true; }

void MainWindow::resetAdbCheckState()
{
    for (StepIo &io : m_step)
        io.output.clear();
    m_hasDevice = false;
    m_port5037Used = false;
    m_otherSoftPid5037.clear();
    m_otherSoftName5037.clear();
    m_adbStarted = false;
    m_usbOpened = false;
    m_adbEmpty = false;
    m_isAuthorized = false;
    m_hasApk = false;
    m_step[StepTestCheckHasApk].error = false;
    m_apkInstalled = false;
    m_activityStarted = false;
    m_portForwarded = false;
    m_gotPower = false;
    m_gotSerial = false;
    m_otherSoftPid10000.clear();
    m_otherSoftName10000.clear();
    m_otherSoftKilled = false;
    m_adbKilled = false;
    m_adbKilledForRsa = false;
    m_appQuited = false;
    m_isOffline = false;
}

// ---------------------------------------------------------------------------
// The device probe
// ---------------------------------------------------------------------------

void MainWindow::testAdbDevices() { runStep(kDeviceProbe); }

// D1. A failed `adb devices` leaves the phone unlisted.
void MainWindow::judgeDevices(const QString *out)
{
    m_hasDevice = false;
    m_isOffline = false;
    if (!out)
        return;
    const DeviceProbeResult probe = probeDeviceList(*out);
    for (const QString &line : probe.walked)
        qDebug() << line;
    m_isOffline = probe.isOffline;
    m_hasDevice = probe.hasDevice;
    qDebug() << "has devices state:" << m_hasDevice;
}
