// The receive path of the real window: bytes from the companion app's
// connection, cut into chunks as a socket delivers them, go through the
// receive slot's entry point, the frame loop and the reply decoder into the
// stores, the home-info labels and the category tables, as during a scan.
//
// Input: byte 0 picks the scope of the scan in progress (All, Private, App),
// byte 1 how the rest is cut into chunks (see fuzz::chunks), the rest is the
// byte stream.

#include "fuzztarget.h"

#include "mainwindow.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

namespace {

MainWindow *g_window = nullptr;

// Everything a previous input left: buffered bytes, stores, tables, flags.
void resetWindow(MainWindow &w)
{
    for (QTimer *timer : w.findChildren<QTimer *>())
        timer->stop();
    w.discardReceivedBytes();
    w.m_eraseType = EraseType::All; // clears every category
    w.resetScanState();
    w.clearPhotoThumbnails();
    w.m_homeInfoReadable = false;
    w.m_homeInfoList.clear();
    w.m_receivedHttp = false;
    w.m_programType = ProgramType::Idle;
}

// Lets queued work finish: the receive loop's later passes (it decodes a
// bounded amount per pass of the event loop), and what the decoder armed at
// once.
void runEventLoop(MainWindow &w)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (int pass = 0; pass < 10000; ++pass) {
        QCoreApplication::sendPostedEvents();
        const bool more = w.m_timerReceiveData->isActive();
        if (!dispatcher->processEvents(more ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents) && !more)
            break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // No outside command can run: the tool folder is empty.
    static QTemporaryDir noTools;
    qputenv("PURGATEX_TOOLS_DIR", QFile::encodeName(noTools.path()));
    fuzz::silenceLog();
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    g_window = new MainWindow;
    g_window->m_stepTimer[MainWindow::StepTestPort]->stop();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    MainWindow &w = *g_window;
    fuzz::Input in(data, size);
    const EraseType scope = EraseType(in.byte() % 3);
    const uint8_t split = in.byte();
    resetWindow(w);
    w.m_eraseType = scope;
    w.m_pageEraseType = int(scope);
    w.m_workPhase = Scanning;

    for (const QByteArray &chunk : fuzz::chunks(in.rest(), split))
        w.receiveChunk(chunk);
    runEventLoop(w);
    // The scan's poll hands what the decoder marked readable to the tables.
    w.allDataReadable();
    runEventLoop(w);
    return 0;
}
