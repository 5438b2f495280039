// Benchmark (not a test): start to first frame. Builds the window as the
// program's main() does, shows it, and ends the process as soon as the first
// frame of the window has been painted and handed to the screen; --bare does
// the same with a bare Qt window of the same size, for the ratio. Prints the
// milliseconds from main() to the first frame; time the whole process from
// outside (for example with /usr/bin/time) to include loading the libraries.
//
//   bench_startup [--bare] [--runs N]
//
// With --runs N it starts itself N times in each mode, in turn, and prints
// each figure and the medians of both and their ratio.

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "mainwindow.h"
#include "windowgeometry.h"

namespace {

QElapsedTimer sinceMain;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// Paints the first expose of the window itself, then reports and ends the
// process: what comes after the first frame is not measured.
class FirstFrame : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::Expose)
            return false;
        auto *window = qobject_cast<QWindow *>(watched);
        if (!window || !window->isExposed())
            return false;
        static_cast<QObject *>(window)->event(e); // paints and flushes the frame
        const double ms = sinceMain.nsecsElapsed() / 1e6;
        std::printf("%.1f\n", ms);
        std::fflush(stdout);
        std::_Exit(0);
    }
};

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

int runMany(const QString &self, int runs)
{
    QTextStream out(stdout);
    QVector<double> window, bare;
    auto once = [&](const QStringList &args) {
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer t;
        t.start();
        p.start(self, args);
        p.waitForFinished(60000);
        const double whole = t.nsecsElapsed() / 1e6;
        const double inProcess = p.readAllStandardOutput().trimmed().toDouble();
        return qMakePair(inProcess, whole);
    };
    QVector<double> windowWhole, bareWhole;
    for (int i = 0; i < runs; ++i) {
        const auto w = once({});
        const auto b = once({QStringLiteral("--bare")});
        window << w.first;
        windowWhole << w.second;
        bare << b.first;
        bareWhole << b.second;
        out << QString("run %1: window %2 ms (process %3 ms), bare %4 ms (process %5 ms)")
                   .arg(i + 1)
                   .arg(w.first, 0, 'f', 1)
                   .arg(w.second, 0, 'f', 0)
                   .arg(b.first, 0, 'f', 1)
                   .arg(b.second, 0, 'f', 0)
            << Qt::endl;
    }
    out << QString("median: window %1 ms, bare %2 ms, ratio %3; whole process %4 / %5 ms, ratio %6")
               .arg(median(window), 0, 'f', 1)
               .arg(median(bare), 0, 'f', 1)
               .arg(median(window) / median(bare), 0, 'f', 2)
               .arg(median(windowWhole), 0, 'f', 0)
               .arg(median(bareWhole), 0, 'f', 0)
               .arg(median(windowWhole) / median(bareWhole), 0, 'f', 2)
        << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    bool bare = false;
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--bare") == 0)
            bare = true;
        else if (qstrcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = QByteArray(argv[++i]).toInt();
    }
    if (runs > 0) {
        QCoreApplication application(argc, argv);
        return runMany(QCoreApplication::applicationFilePath(), runs);
    }

    QApplication application(argc, argv);
    qInstallMessageHandler(quiet);
    std::fprintf(stderr, "application made at %.1f ms\n", sinceMain.nsecsElapsed() / 1e6);
    FirstFrame first;
    QWidget *window;
    if (bare) {
        window = new QWidget;
        window->resize(app::windowgeometry::WindowWidth, app::windowgeometry::WindowHeight);
    } else {
        // as main() does
        QCoreApplication::setApplicationName(QStringLiteral("Purgatex"));
        auto *w = new MainWindow;
        std::fprintf(stderr, "window built at %.1f ms\n", sinceMain.nsecsElapsed() / 1e6);
        // no command runs: the device link would start a tool 100 ms later
        w->m_stepTimer[MainWindow::StepTestPort]->stop();
        window = w;
    }
    application.installEventFilter(&first); // sees the expose of the window's native window
    window->show();
    return application.exec();
}
