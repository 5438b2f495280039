// Benchmark (built with the tests, not run by ctest): a private scan of a
// phone with many messages, from the companion-app simulator running as a
// process of its own, through the real window: how long until the message
// category is filled and the scan is done, how long selecting every message
// takes, and the program's peak memory. Then every message is erased through
// the window: the confirm page, Erase Now, the erase requests, the phone's
// answer, the completion page and the erase record, the reboot of the
// simulated phone and the verification pass once it is back. The event-loop
// stall meter runs through the whole erase and tells the longest stall, in
// which phase it was and between which log lines (the program's log output is
// discarded). For comparison, the same erase requests are written by a bare
// client to a second simulator process over a local socket.
//
// With --interrupt the phone goes away once half of the requests are written:
// the run ends interrupted, with the other half never sent, and the record
// lists them all. Its peak memory is taken before the record is read back,
// and the record's bytes are compared with the same record made whole in
// memory.
//
//   bench_messages [messages] [characters per message] [--scan-only] [--interrupt]   (500000 200)

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/messages.h"
#include "purgatexversion.h"
#include "workflow/eraserecord.h"
#include "support/memorymeter.h"
#include "support/simphone.h"
#include "support/stallmeter.h"
#include "support/windowrig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QProcess>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream out(stdout);

double mib(qint64 kb)
{
    return kb < 0 ? -1 : double(kb) / 1024;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// Runs the event loop until done() holds.
bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(2);
    }
    return true;
}

// The companion-app simulator, in its own process; what it prints (a line
// per erase request) goes to a file, so nobody has to read it meanwhile.
struct Phone
{
    QProcess process;
    QString said;
    quint16 port = 0;

    bool start(const QStringList &args, const QString &outputFile)
    {
        const QString program = QCoreApplication::applicationDirPath()
                                + QStringLiteral("/../../tools/companionsim/purgatex-companion-sim");
        port = freePort();
        said = outputFile;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(outputFile);
        process.start(program, QStringList{QStringLiteral("--port"), QString::number(port)} + args);
        if (!process.waitForStarted(10000))
            return false;
        return waitFor(
                   [&] {
                       QFile f(said);
                       return process.state() == QProcess::NotRunning
                              || (f.open(QIODevice::ReadOnly) && f.readAll().contains("listening"));
                   },
                   600000)
               && process.state() == QProcess::Running;
    }
    ~Phone()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

// The erase requests of one batch, as the window sends them.
QByteArray eraseRequests(const QStringList &keys, quint16 level)
{
    QByteArray bytes;
    const quint32 n = quint32(keys.size());
    for (int i = 0; i < keys.size(); ++i)
        bytes += proto::eraseRequest(proto::EraseMessage, keys.at(i), level, quint32(i + 1), n);
    return bytes;
}

// A bare client writes the bytes to the simulator in one go: the time until
// the socket has handed the last of them to the system.
qint64 bareWrite(quint16 port, const QByteArray &bytes)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(10000))
        return -1;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { socket.readAll(); });
    QElapsedTimer clock;
    clock.start();
    socket.write(bytes);
    if (!waitFor([&] { return socket.bytesToWrite() == 0; }, 600000))
        return -1;
    return clock.elapsed();
}

QJsonObject readJson(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool scanOnly = args.removeAll(QStringLiteral("--scan-only")) > 0;
    const bool interrupt = args.removeAll(QStringLiteral("--interrupt")) > 0;
    const int messages = args.value(0, QStringLiteral("500000")).toInt();
    const int chars = args.value(1, QStringLiteral("200")).toInt();

    // The reboot and the link after it run the simulated tools.
    SimPhone simTools;
    simTools.set({{QStringLiteral("app.running"), QStringLiteral("1")},
                  {QStringLiteral("reboot.listed_ms"), QStringLiteral("300")},
                  {QStringLiteral("reboot.absent_ms"), QStringLiteral("3500")}});
    QTemporaryDir work;
    const QStringList phoneArgs{QStringLiteral("--messages"), QString::number(messages), QStringLiteral("--message-chars"),
                                QString::number(chars)};
    Phone phone;
    if (!phone.start(phoneArgs, work.filePath(QStringLiteral("phone.txt")))) {
        out << "cannot start the companion-app simulator" << Qt::endl;
        return 1;
    }

    // The log is written as the program writes it (debug lines included)
    // and discarded; the scan runs without it, as before.
    StallMeter meter(20);
    meter.followLog();
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    const double atStart = mib(memorymeter::residentKb());
    int result = 0;
    {
        MainWindow w;
        rig::quiet(w); // no device link: the socket is connected by hand
        w.m_recordsFolder = work.filePath(QStringLiteral("records"));
        w.show();
        w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, phone.port);
        if (!rig::waitFor(w, [&] { return w.m_tcpSocket->state() == QAbstractSocket::ConnectedState; }, 10000)) {
            out << "no connection" << Qt::endl;
            return 1;
        }
        w.m_programType = ProgramType::Idle;
        w.m_sdkLevel = 28;
        w.m_companionPort = phone.port; // where the link lands after the reboot
        w.newTCPConnected();            // the phone's particulars, as after a real connection
        rig::waitFor(w, [&] { return w.m_homeInfoShown; }, 10000);
        w.m_timerNewTCPConnected->stop();
        w.m_timerHomeInfoReadable->stop();
        w.setScopeButtonsEnabled(true);
        const double withWindow = mib(memorymeter::residentKb());

        QElapsedTimer clock;
        w.ui->S_Private_Button->click();
        rig::waitFor(w, [&] { return w.ui->EAll_Label_ToScan->isVisible(); }, 10000);
        clock.start();
        w.ui->EAll_Label_ToScan->click();
        qint64 filled = -1;
        const bool scanned = rig::waitFor(
            w,
            [&] {
                if (filled < 0 && w.m_messageMapIdData.size() == messages)
                    filled = clock.elapsed();
                return w.m_workPhase == Scanned && w.ui->C_EPrivate_IsScanning_2->isVisible();
            },
            30 * 60 * 1000);
        const qint64 scanMs = clock.elapsed();
        const double afterScan = mib(memorymeter::residentKb());
        if (!scanned || w.m_messageMapIdData.size() != messages || w.m_listIncomplete[Message]) {
            out << "scan failed: " << w.m_messageMapIdData.size() << " messages stored" << Qt::endl;
            return 1;
        }

        w.ui->EP_IsScanning_PushButton_Message->click();
        QTableWidget *t = w.categoryTable(Message);
        clock.restart();
        emit t->itemClicked(t->item(0, 1));
        const qint64 selectMs = clock.elapsed();
        const double afterSelect = mib(memorymeter::residentKb());
        const double scanPeak = mib(memorymeter::peakKb());
        const QStringList chosen = w.m_messageToEraseList;

        out << messages << " messages of " << chars << " characters from 2000 numbers" << Qt::endl
            << "  message list stored " << filled << " ms after the scan started; scan done after " << scanMs
            << " ms (" << t->rowCount() - 1 << " message rows)" << Qt::endl
            << "  select all messages: " << selectMs << " ms, " << chosen.size() << " ids" << Qt::endl
            << "  memory: " << atStart << " MiB at start, " << withWindow << " MiB with the window, " << afterScan
            << " MiB after the scan, " << afterSelect << " MiB after select all, peak " << scanPeak << " MiB"
            << Qt::endl;
        if (scanOnly)
            return result;

        // The same requests written by a bare client to a phone of its own.
        qint64 bareMs = -1;
        qint64 requestBytes = 0;
        {
            Phone other;
            if (other.start(phoneArgs, work.filePath(QStringLiteral("other.txt")))) {
                const QByteArray bytes = eraseRequests(chosen, w.m_levelToErase);
                requestBytes = bytes.size();
                bareMs = bareWrite(other.port, bytes);
            }
        }
        const bool peakReset = memorymeter::resetPeak();

        // The erase, through the window, with the log written and discarded.
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=true"));
        meter.start();
        meter.setPhase(QStringLiteral("confirm page"));
        QElapsedTimer whole;
        whole.start();
        w.ui->EP_IsScanning_PushButton_Erase->click();
        rig::waitFor(w, [&] { return w.ui->M_ConformErase_1->isVisible(); }, 60000);
        const qint64 confirmMs = whole.elapsed();
        QLineEdit *word = w.ui->M_ConformErase_LineEdit_InputErase;
        word->setText(QStringLiteral("Erase"));
        meter.setPhase(QStringLiteral("erase run"));
        clock.restart();
        w.ui->M_ConformErase_PushButton_EraseNow->click();
        if (interrupt) {
            const bool half = rig::waitFor(
                w, [&] { return int(w.m_eraseSentCount[Message]) >= chosen.size() / 2; }, 30 * 60 * 1000);
            const qint64 cutMs = clock.elapsed();
            const int sentWhenCut = int(w.m_eraseSentCount[Message]);
            phone.process.kill();
            const bool ended = rig::waitFor(w, [&] { return w.ui->M_EraseCompleted_3->isVisible(); }, 10 * 60 * 1000);
            const qint64 endedMs = clock.elapsed() - cutMs;
            meter.setPhase(QStringLiteral("record"));
            clock.restart();
            const bool recorded = rig::waitFor(
                w, [&] { return !w.eraseRecordWriting() && !w.m_recordWritten.jsonPath.isEmpty(); }, 10 * 60 * 1000);
            const qint64 recordMs = clock.elapsed();
            meter.stop();
            // The program's peak, before this benchmark reads the record
            // back (which takes more than writing it did).
            const double peak = qMax(scanPeak, mib(memorymeter::peakKb()));
            const QJsonObject record = readJson(w.m_recordWritten.jsonPath);
            const QString outcome = record[QStringLiteral("outcome")].toString();
            if (!half || !ended || !recorded || outcome != QStringLiteral("interrupted"))
                result = 1;
            out << "erase of every message, interrupted through the window" << Qt::endl
                << "  the phone went away " << cutMs << " ms after Erase Now, " << sentWhenCut
                << " requests written; the report page " << endedMs << " ms later" << Qt::endl
                << "  record (" << outcome << ") on disk " << recordMs << " ms after the report page (JSON "
                << QFileInfo(w.m_recordWritten.jsonPath).size() << " bytes, PDF "
                << QFileInfo(w.m_recordWritten.pdfPath).size() << " bytes)" << Qt::endl
                << "  memory: peak " << peak << " MiB"
                << (peakReset ? "" : " (the peak of the erase could not be told apart)") << Qt::endl
                << "  longest stall: " << StallMeter::describe(meter.longest()) << Qt::endl;
            for (const StallMeter::Stall &st : meter.longestStalls())
                out << "    at " << st.endedMs - st.ms << " ms: " << StallMeter::describe(st) << Qt::endl;
            // The file, written in slices, against the same record written
            // whole in memory (after the memory figures: this takes more).
            QFile written(w.m_recordWritten.jsonPath);
            const bool same = written.open(QIODevice::ReadOnly)
                              && written.readAll()
                                     == QJsonDocument(workflow::eraserecord::toJson(w.m_eraseAccount,
                                                                          QStringLiteral(PURGATEX_VERSION)))
                                            .toJson(QJsonDocument::Indented);
            out << "  the record's bytes against the record made whole in memory: "
                << (same ? "identical" : "DIFFERENT") << Qt::endl;
            if (!same)
                result = 1;
            QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
            return result;
        }
        qint64 sendMs = -1;
        qint64 sentAfterMs = -1;
        const bool completed = rig::waitFor(
            w,
            [&] {
                if (sendMs < 0 && int(w.m_eraseSentCount[Message]) == chosen.size()
                    && w.m_tcpSocket->bytesToWrite() == 0) {
                    sendMs = w.m_etEraseMessage.elapsed();
                    sentAfterMs = clock.elapsed();
                }
                return w.ui->M_EraseCompleted_3->isVisible();
            },
            30 * 60 * 1000);
        const qint64 runMs = clock.elapsed();
        meter.setPhase(QStringLiteral("record"));
        clock.restart();
        const bool recorded = rig::waitFor(
            w, [&] { return !w.m_recordWritten.jsonPath.isEmpty() && QFileInfo::exists(w.m_recordWritten.pdfPath); },
            10 * 60 * 1000);
        const qint64 recordMs = clock.elapsed();
        const QJsonObject record = readJson(w.m_recordWritten.jsonPath);
        const qint64 jsonBytes = QFileInfo(w.m_recordWritten.jsonPath).size();
        const qint64 pdfBytes = QFileInfo(w.m_recordWritten.pdfPath).size();
        const double afterRun = mib(memorymeter::residentKb());

        meter.setPhase(QStringLiteral("reboot and verification"));
        clock.restart();
        using Status = workflow::EraseAccount::Verification::Status;
        const bool verified = rig::waitFor(
            w,
            [&] {
                const Status s = w.m_eraseAccount.verification().status;
                return s != Status::Pending && s != Status::Running
                       && readJson(w.m_recordWritten.jsonPath)["verification"].toObject()["status"].toString()
                              != QStringLiteral("pending");
            },
            10 * 60 * 1000);
        const qint64 verifyMs = clock.elapsed();
        meter.stop();
        const double end = mib(memorymeter::residentKb());
        const double peak = qMax(scanPeak, mib(memorymeter::peakKb()));
        const QJsonObject totals = record[QStringLiteral("totals")].toObject();
        const QString verification =
            readJson(w.m_recordWritten.jsonPath)["verification"].toObject()["status"].toString();

        if (!completed || !recorded || !verified || totals["confirmed_erased"].toInt() != chosen.size()
            || verification != QStringLiteral("verified")) {
            out << "erase failed: completed " << completed << ", record " << recorded << ", "
                << totals["confirmed_erased"].toInt() << " confirmed erased, verification " << verification
                << Qt::endl;
            result = 1;
        }
        out << "erase of every message, through the window" << Qt::endl
            << "  confirm page: " << confirmMs << " ms" << Qt::endl
            << "  Erase Now to the completion page: " << runMs << " ms; the erase requests (" << requestBytes
            << " bytes) sent in " << sendMs << " ms, all written " << sentAfterMs << " ms after Erase Now"
            << Qt::endl
            << "  the same bytes written by a bare client to a local socket: " << bareMs << " ms; ratio "
            << (bareMs > 0 && sendMs >= 0 ? QString::number(double(sendMs) / bareMs, 'f', 2) : QStringLiteral("-"))
            << Qt::endl
            << "  record on disk " << recordMs << " ms after the completion page (JSON " << jsonBytes
            << " bytes, PDF " << pdfBytes << " bytes)" << Qt::endl
            << "  reboot and verification: " << verifyMs << " ms, " << verification << Qt::endl
            << "  memory: " << afterRun << " MiB after the run, " << end << " MiB at the end, peak " << peak
            << " MiB" << (peakReset ? "" : " (the peak of the erase could not be told apart)") << Qt::endl
            << "  longest stall: " << StallMeter::describe(meter.longest()) << Qt::endl;
        out << "  the longest stalls of the " << whole.elapsed() << " ms from the erase button on:" << Qt::endl;
        for (const StallMeter::Stall &s : meter.longestStalls())
            out << "    at " << s.endedMs - s.ms << " ms: " << StallMeter::describe(s) << Qt::endl;
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    }
    return result;
}
