#include "mainwindow.h"

#include "browser/tablelayout.h"
#include "workflow/scanplan.h"

#include <QDebug>
#include <QLabel>
#include <QProgressBar>


// After a category has been shown: its share goes to the scan progress, then
// the next category of the chain is asked for, or skipped when the phone has
// nothing for it or does not allow it, or the scan is cancelled instead.
void MainWindow::advanceScanAfter(int category)
{
    const TableLayout &layout = tableLayout(category);
    int value = 0;
    if (m_eraseType == EraseType::All) {
        m_allProgress += workflow::scanplan::progressShare(EraseType::All, category);
        value = m_allProgress;
        qDebug() << (QStringLiteral("All update ") + QLatin1String(layout.progressName)) << value;
    } else {
        m_privateProgress += workflow::scanplan::progressShare(EraseType::Private, category);
        value = m_privateProgress;
        qDebug() << (QStringLiteral("Private update ") + QLatin1String(layout.progressName)) << value;
    }
    m_dataReadable[category] = false;
    if (m_eraseType == EraseType::Private)
        qDebug() << (QStringLiteral("end update ") + QLatin1String(layout.logName));
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
    const workflow::scanplan::AskDecision decision =
        workflow::scanplan::decideAsk(next, m_sdkLevel, m_sdkGate, m_expectedScanTime[next]);
    const workflow::scanplan::TraceTokens tokens = workflow::scanplan::chainTraceTokens(next, decision, m_sdkLevel);
    QLabel *trace = m_eraseType == EraseType::Private ? browserWidget<QLabel>("testLabel_3") : nullptr;
    auto traceToken = [this, trace](const QString &token) {
        if (trace && !token.isEmpty())
            appendHiddenTrace(trace, token);
    };
    traceToken(tokens.before);
    if (decision != workflow::scanplan::AskDecision::Ask) {
        passOverScanCategory(next, decision == workflow::scanplan::AskDecision::SkipGateClosed);
        return;
    }
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
    traceToken(tokens.after);
}
