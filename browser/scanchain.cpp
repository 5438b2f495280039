#include "mainwindow.h"

#include "browser/tablespec.h"

#include <QDebug>
#include <QLabel>
#include <QProgressBar>

namespace {
constexpr int kPrivateShare[6] = {10, 20, 20, 20, 20, 10};
constexpr int kAllShare[6] = {5, 10, 10, 10, 10, 5};
} // namespace

// After a category has been shown: its share goes to the scan progress, then
// the next category of the chain is asked for, or skipped when the phone has
// nothing for it or does not allow it, or the scan is cancelled instead.
void MainWindow::advanceScanAfter(int category)
{
    const TableSpec &spec = tableSpec(category);
    int value = 0;
    if (m_eraseType == EraseType::All) {
        m_allProgress += kAllShare[category];
        value = m_allProgress;
        qDebug() << (QStringLiteral("All update ") + QLatin1String(spec.progressName)) << value;
    } else {
        m_privateProgress += kPrivateShare[category];
        value = m_privateProgress;
        qDebug() << (QStringLiteral("Private update ") + QLatin1String(spec.progressName)) << value;
    }
    m_dataReadable[category] = false;
    if (m_eraseType == EraseType::Private)
        qDebug() << (QStringLiteral("end update ") + QLatin1String(spec.logName));
    if (auto *bar = browserWidget<QProgressBar>("M_All_Private_IsScanning_ProgressBar"))
        bar->setValue(value);

    if (m_scanCancelRequested) {
        sendCancelScan();
        if (m_timerCheckCancelScan)
            m_timerCheckCancelScan->start(500);
        return;
    }
    if (category == Vedio) {
        if (m_eraseType == EraseType::All)
            getApp();
        return;
    }

    const int next = category + 1;
    const int gate = next == History ? 1 : next == Message ? 2 : 3;
    const bool modern = m_sdkLevel >= 23;
    const bool allowed = !modern || m_sdkGate[gate];
    const bool ask = allowed && m_expectedScanTime[next] != 0;
    static const char letters[] = "CHMPAV";
    const QString token = QString(QLatin1Char(letters[next]));
    QLabel *trace = m_eraseType == EraseType::Private ? browserWidget<QLabel>("testLabel_3") : nullptr;
    auto traceToken = [trace, &token](const char *prefix, const char *suffix) {
        if (trace)
            trace->setText(trace->text() + QLatin1String(prefix) + token + QLatin1String(suffix)
                           + QStringLiteral(":\n"));
    };
    if (!ask) {
        traceToken("ng", !modern ? "_L" : allowed ? "_G_P" : "_G_W");
        m_dataReadable[next] = true;
        m_scanDone[next] = true;
        return;
    }
    traceToken("g", modern ? "_G_F" : "_L_F");
    switch (next) {
    case History:
        getHistory();
        break;
    case Message:
        getMessage();
        break;
    case Photo:
        getPhotoDir();
        break;
    case Audio:
        getAudioDir();
        break;
    case Vedio:
        getVedioDir();
        break;
    default:
        break;
    }
    traceToken("g", modern ? "_G_L" : "_L_L");
}
