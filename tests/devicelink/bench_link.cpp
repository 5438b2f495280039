// How long the event loop stands still while the device link works: a 20 ms
// heartbeat records the largest gap through the connection sequence with a
// slow `adb start-server`, an install that prints 100 chunks, a slow `adb
// reboot` and a `tasklist` that hangs until its time-out. Built with the
// tests, not run by ctest:
//
//     QT_QPA_PLATFORM=offscreen build/tests/devicelink/bench_link
//
// Prints one table row per run (wall time, longest stall, heartbeats).

#include "mainwindow.h"
#include "support/simphone.h"
#include "support/stallmeter.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {

QStringList g_log;

void keepLog(QtMsgType, const QMessageLogContext &, const QString &msg) { g_log << msg; }

bool logged(const QString &start)
{
    for (const QString &line : qAsConst(g_log)) {
        if (line.startsWith(start))
            return true;
    }
    return false;
}

// Runs the event loop until the condition holds (or two minutes pass).
bool waitUntil(const std::function<bool()> &done)
{
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > 120000)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    return done();
}

// Counts the repaints of a widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Run
{
    QString what;
    std::function<void(SimPhone &)> scenario;
    bool startsAtPortCheck; // else `start` begins the run
    std::function<void(MainWindow &)> start;
    QString until; // the log line that ends the run
};

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(keepLog);
    QTextStream out(stdout);

    const QString holder5037 = QStringLiteral("  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       4321");
    const QList<Run> runs = {
        {QStringLiteral("connection sequence, `adb start-server` of 8 s"),
         [](SimPhone &p) { p.set({{"fault.start-server.delay_ms", "8000"}, {"fault.start-server.times", "1"}}); },
         true, nullptr, QStringLiteral("after get serial check")},
        {QStringLiteral("connection sequence with an install of 100 chunks x 50 ms"),
         [](SimPhone &p) { p.set({{"installed", "0"}, {"install.chunks", "100"}, {"install.chunk_ms", "50"}}); },
         true, nullptr, QStringLiteral("after get serial check")},
        {QStringLiteral("reboot, `adb reboot` of 7 s"),
         [](SimPhone &p) { p.set({{"fault.reboot.delay_ms", "7000"}, {"fault.reboot.times", "1"}}); }, false,
         [](MainWindow &w) { w.testReboot(); }, QStringLiteral("reboot end")},
        {QStringLiteral("port check, `tasklist` hangs until its time-out (5 s)"),
         [&](SimPhone &p) {
             p.setNetstatLines({holder5037});
             p.setTask(4321, QStringLiteral("foreign.exe"));
             p.set(QStringLiteral("fault.tasklist.hang"), QStringLiteral("1"));
         },
         true, nullptr, QStringLiteral("after get pid's name of 5037 while")},
    };

    out << "| Run | Wall time | Longest stall | Heartbeats |\n|---|---|---|---|\n";
    out.flush();
    for (const Run &run : runs) {
        SimPhone phone;
        if (!phone.isValid()) {
            out << "simulated tools missing: build the simadb target\n";
            return 1;
        }
        run.scenario(phone);
        g_log.clear();
        MainWindow w;
        w.show();
        PaintCounter bar;
        w.ui->MP_InstallApk_ProgressBar->installEventFilter(&bar);
        if (!run.startsAtPortCheck)
            w.m_stepTimer[MainWindow::StepTestPort]->stop();
        // The session is not part of the measurement.
        QObject::connect(w.m_timerNewTCPConnected, &QTimer::timeout, &w, [&w] { w.m_timerNewTCPConnected->stop(); });

        StallMeter meter(20);
        meter.start();
        if (run.start)
            run.start(w);
        const bool done = waitUntil([&] { return logged(run.until); });
        meter.stop();
        out << "| " << run.what << " | " << meter.elapsedMs() << " ms | " << meter.longestStallMs() << " ms | "
            << meter.ticks() << " |" << (done ? "" : " (did not finish)") << "\n";
        if (bar.paints > 0)
            out << "|   install progress bar repainted | " << bar.paints << " times | | |\n";
        out.flush();
        w.stopDeviceLink();
    }
    return 0;
}
