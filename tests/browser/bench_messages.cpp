// Benchmark (built with the tests, not run by ctest): a private scan of a
// phone with many messages, from the companion-app simulator running as a
// process of its own, through the real window: how long until the message
// category is filled and the scan is done, how long selecting every message
// takes, and the program's peak memory.
//
//   bench_messages [messages] [characters per message]   (500000 200)

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "support/windowdriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QTableWidget>
#include <QTcpServer>
#include <QTextStream>

namespace {

// Resident set size now and at its peak, in MiB.
QPair<double, double> memoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double now = 0, peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() >= 2 && f[0] == "VmRSS:")
                now = f[1].toDouble() / 1024;
            if (f.size() >= 2 && f[0] == "VmHWM:")
                peak = f[1].toDouble() / 1024;
        }
    }
    return {now, peak};
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QTextStream out(stdout);
    const int messages = argc > 1 ? QByteArray(argv[1]).toInt() : 500000;
    const int chars = argc > 2 ? QByteArray(argv[2]).toInt() : 200;

    const QString sim = QCoreApplication::applicationDirPath() + QStringLiteral("/../../tools/companionsim/purgatex-companion-sim");
    const quint16 port = freePort();
    QProcess phone;
    phone.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    phone.start(sim, {QStringLiteral("--port"), QString::number(port), QStringLiteral("--messages"),
                      QString::number(messages), QStringLiteral("--message-chars"), QString::number(chars)});
    if (!phone.waitForStarted(10000)) {
        out << "cannot start " << sim << Qt::endl;
        return 1;
    }
    QByteArray said;
    while (!said.contains("listening") && phone.waitForReadyRead(120000))
        said += phone.readAllStandardOutput();

    const auto before = memoryMiB();
    int result = 0;
    {
        MainWindow w;
        w.m_timerTestPort->stop();
        w.show();
        w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, port);
        if (!drive::waitFor(w, [&] { return w.m_tcpSocket->state() == QAbstractSocket::ConnectedState; }, 10000)) {
            out << "no connection" << Qt::endl;
            return 1;
        }
        w.m_programType = ProgramType::Idle;
        w.m_sdkLevel = 28;
        w.setScopeButtonsEnabled(true);
        const auto window = memoryMiB();

        QElapsedTimer clock;
        w.ui->S_Private_Button->click();
        drive::waitFor(w, [&] { return w.ui->EAll_Label_ToScan->isVisible(); }, 10000);
        clock.start();
        w.ui->EAll_Label_ToScan->click();
        qint64 filled = -1;
        const bool scanned = drive::waitFor(
            w,
            [&] {
                if (filled < 0 && w.m_messageMapIdData.size() == messages)
                    filled = clock.elapsed();
                return w.m_workPhase == Scanned && w.ui->C_EPrivate_IsScanning_2->isVisible();
            },
            30 * 60 * 1000);
        const qint64 scanMs = clock.elapsed();
        const auto afterScan = memoryMiB();
        if (!scanned || w.m_messageMapIdData.size() != messages || w.m_listIncomplete[Message]) {
            out << "scan failed: " << w.m_messageMapIdData.size() << " messages stored" << Qt::endl;
            result = 1;
        }

        w.ui->EP_IsScanning_PushButton_Message->click();
        QTableWidget *t = w.categoryTable(Message);
        clock.restart();
        emit t->itemClicked(t->item(0, 1));
        const qint64 selectMs = clock.elapsed();
        const auto end = memoryMiB();

        out << messages << " messages of " << chars << " characters from 2000 numbers" << Qt::endl
            << "  message list stored " << filled << " ms after the scan started; scan done after " << scanMs
            << " ms (" << t->rowCount() - 1 << " message rows)" << Qt::endl
            << "  select all messages: " << selectMs << " ms, " << w.m_messageToEraseList.size() << " ids" << Qt::endl
            << "  memory: " << before.first << " MiB at start, " << window.first << " MiB with the window, "
            << afterScan.first << " MiB after the scan, peak " << end.second << " MiB" << Qt::endl;
    }
    phone.kill();
    phone.waitForFinished(5000);
    return result;
}
