// The Wine smoke journey's driver: the real window of the Windows build, run
// from the program's folder (so its device link finds the stand-in adb.exe
// beside it and Windows' own netstat, tasklist and taskkill), against the
// companion-app simulator that listens on 127.0.0.1:10000. It waits for the
// phone page, runs a Private scan, ticks one contact, erases it at the Low
// level, waits for the completion page and its erase record, and closes the
// window, which runs the exit command. Every page on the way is saved as a
// picture; every log line goes to the log file as well as to standard error.
// The window speaks German, as on a German Windows: the translation compiled
// into the program, Qt's own German from "translations" beside it (the zip
// brings it); the log lines and the erase record stay English.
//
//   purgatex-winsmoke.exe OUT-DIR
//
// Exits 0 when the journey got through; otherwise it names the step that did
// not and exits with that step's number. Not a ctest test: scripts/windows/smoke.sh
// runs it under Wine on a virtual display and checks its log and record.

#include "mainwindow.h"
#include "translations.h"
#include "ui_mainwindow.h"

// click, clickRow, and waitFor with the workflow's polls ticking every few
// milliseconds, as in the Linux journeys; the device link and the countdowns
// keep their pace.
#include "support/windowrig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

#include <cstdio>

using rig::click;
using rig::clickRow;
using rig::waitFor;

namespace {

QFile *g_log = nullptr;

void logLine(QtMsgType, const QMessageLogContext &, const QString &message)
{
    const QByteArray line = (QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + message)
                                .toUtf8()
                            + '\n';
    if (g_log) {
        g_log->write(line);
        g_log->flush();
    }
    std::fputs(line.constData(), stderr);
}

void say(const QString &text) { qInfo().noquote() << "smoke:" << text; }

// Notes a paint event of any widget of one window.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType()
            && static_cast<QWidget *>(object)->window() == m_window)
            seen = true;
        return false;
    }

private:
    QWidget *m_window;
};

class Journey
{
public:
    Journey(MainWindow &w, const QString &outDir)
        : m_w(w)
        , m_out(outDir)
    {
    }

    void picture(const QString &name)
    {
        // Let the page paint: the window is asked for a paint and the picture
        // is taken once a widget of it has painted (taken all the same after
        // a few seconds, as from a window that is not on the screen).
        PaintWatch painted(&m_w);
        m_w.update();
        if (!QTest::qWaitFor([&] { return painted.seen; }, 5000))
            say(QStringLiteral("no paint seen before the picture ") + name);
        const QString path = QDir(m_out).filePath(QStringLiteral("%1-%2.png").arg(++m_pictures, 2, 10, QLatin1Char('0')).arg(name));
        if (!m_w.grab().save(path))
            say(QStringLiteral("picture not saved: ") + path);
        else
            say(QStringLiteral("picture: ") + QDir::toNativeSeparators(path));
    }

    int run()
    {
        Ui::MainWindow *ui = m_w.ui;
        say(QStringLiteral("program folder ") + QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
        picture(QStringLiteral("start"));

        // 1. The device link finds the phone and the companion app answers.
        if (!waitFor(m_w, [&] { return m_w.m_homeInfoReadable && !ui->A_MP_ConnectedInfomation_5->isHidden(); },
                     120000))
            return fail(1, "the phone page with the phone's particulars");
        say(QStringLiteral("phone page: ") + ui->MP_Label_Model->text() + QLatin1Char(' ')
            + ui->MP_Label_SerialNumber->text());
        picture(QStringLiteral("phone"));

        // 2. A Private scan fills the tables.
        if (!waitFor(m_w, [&] { return ui->S_Private_Button->isEnabled(); }, 20000) || !click(ui->S_Private_Button))
            return fail(2, "the Private scope button");
        if (!waitFor(m_w, [&] { return !ui->B_EAll_ToScan->isHidden(); }, 20000))
            return fail(2, "the scan page");
        picture(QStringLiteral("scan"));
        if (!click(ui->EAll_Label_ToScan))
            return fail(3, "the scan button");
        if (!waitFor(m_w, [&] { return m_w.m_workPhase == Scanned; }, 120000))
            return fail(3, "the end of the scan");
        auto *contacts = m_w.findChild<QTableWidget *>(QStringLiteral("tableContactWidget"));
        const int rows = contacts ? contacts->rowCount() : 0;
        say(QStringLiteral("scanned: %1 contact rows, %2 contacts, %3 messages, %4 photos")
                .arg(rows)
                .arg(m_w.m_contactMapIdData.size())
                .arg(m_w.m_messageMapIdData.size())
                .arg(m_w.m_photoDir.size()));
        if (rows < 2 || m_w.m_photoDir.isEmpty())
            return fail(3, "filled tables");
        picture(QStringLiteral("results"));
        click(ui->EP_IsScanning_PushButton_Photo);
        waitFor(m_w, [&] { return !m_w.m_timerGetPhotoByTime->isActive(); }, 60000);
        picture(QStringLiteral("results-photos"));
        click(ui->EP_IsScanning_PushButton_Contact);

        // 3. One ticked contact row is erased.
        if (!clickRow(contacts, 1))
            return fail(4, "a contact row to tick");
        const QString number = contacts->item(1, 2)->text();
        say(QStringLiteral("ticked the contact row of ") + number);
        if (!click(ui->EP_IsScanning_PushButton_Erase)
            || !waitFor(m_w, [&] { return !ui->M_ConformErase_1->isHidden(); }, 20000))
            return fail(4, "the confirm page");
        ui->M_ConformErase_LineEdit_InputErase->clear();
        QTest::keyClicks(ui->M_ConformErase_LineEdit_InputErase, QStringLiteral("Erase"));
        picture(QStringLiteral("confirm"));
        if (!click(ui->M_ConformErase_PushButton_EraseNow))
            return fail(5, "Erase Now");
        if (!waitFor(m_w, [&] { return !ui->M_IsErasing_2->isHidden() || m_w.m_eraseProgress == 100; }, 20000))
            return fail(5, "the erasing page");
        picture(QStringLiteral("erasing"));
        if (!waitFor(m_w, [&] { return !ui->M_EraseCompleted_3->isHidden(); }, 120000))
            return fail(5, "the completion page");
        picture(QStringLiteral("completed"));
        say(QStringLiteral("completion: ") + ui->M_EraseCompleted_Label_Text->text().simplified());

        // 4. The erase record lies in the per-user application-data folder.
        // It is written on a thread of its own.
        if (!waitFor(
                m_w, [&] { return !m_w.eraseRecordWriting() && !m_w.m_recordWritten.jsonPath.isEmpty(); }, 60000)
            || !m_w.m_recordWritten.ok())
            return fail(6, "the erase record");
        const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QString json = m_w.m_recordWritten.jsonPath;
        say(QStringLiteral("record: ") + QDir::toNativeSeparators(json));
        say(QStringLiteral("application data: ") + QDir::toNativeSeparators(appData));
        if (!QFileInfo(json).absoluteFilePath().startsWith(QDir(appData).absolutePath() + QLatin1Char('/'))
            || !QFileInfo(m_w.m_recordWritten.pdfPath).isFile())
            return fail(6, "a record under the application-data folder");

        // 5. Closing the window runs the exit command (taskkill /f /im
        // Purgatex.exe); the driver's image is not Purgatex.exe, so that
        // command finds nothing and the program ends itself.
        say(QStringLiteral("closing"));
        m_w.close();
        return 0;
    }

private:
    int fail(int step, const char *what)
    {
        say(QStringLiteral("FAILED at step %1: %2 did not come").arg(step).arg(QLatin1String(what)));
        picture(QStringLiteral("failed"));
        return 10 + step;
    }

    MainWindow &m_w;
    QString m_out;
    int m_pictures = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Purgatex"));
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("smoke");
    QDir().mkpath(outDir);
    QFile log(QDir(outDir).filePath(QStringLiteral("winsmoke.log")));
    if (log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        g_log = &log;
    qInstallMessageHandler(logLine);

    if (!app::installTranslation(QStringLiteral("de"))) {
        say(QStringLiteral("FAILED at step 0: the German translation did not load"));
        return 10;
    }
    // Qt's own German: a line edit's context menu.
    const bool qtGerman = QCoreApplication::translate("QLineEdit", "&Undo") != QLatin1String("&Undo");
    say(QStringLiteral("language: de, Qt's own texts: %1").arg(qtGerman ? QStringLiteral("German") : QStringLiteral("English")));

    auto *window = new MainWindow;
    window->show();
    Journey journey(*window, outDir);
    int code = 0;
    QTimer::singleShot(0, [&] {
        code = journey.run();
        if (code != 0)
            QCoreApplication::exit(code);
    });
    const int exitCode = application.exec();
    say(QStringLiteral("event loop ended with %1").arg(exitCode));
    delete window;
    g_log = nullptr;
    return code != 0 ? code : exitCode;
}
