// The pages and notices the device link shows. The link never shows a page
// over the user's page: every switch hides the other pages first. While a
// report is held in front (m_reportHeld), the link only remembers what it
// wants to show and goes on behind the report.
#include "devicelink/linkhelp.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QDebug>
#include <QElapsedTimer>

using namespace devicelink;

namespace {

bool onlyVisiblePage(const QList<QWidget *> &pages, QWidget *page)
{
    if (page->isHidden())
        return false;
    for (QWidget *other : pages) {
        if (other != page && !other->isHidden())
            return false;
    }
    return true;
}

} // namespace

void MainWindow::showLinkPage(QWidget *page)
{
    m_linkPage = page;
    // Any page of the link but the phone page means the phone is not there
    // yet: the scope buttons wait for it.
    if (page != ui->A_MP_ConnectedInfomation_5)
        setScopeButtonsEnabled(false);
    if (m_reportHeld)
        return;
    // A page already alone on screen stays as it is (an open About notice
    // is not closed by every round of a polling step).
    if (onlyVisiblePage(m_pageList, page))
        return;
    hidePages();
    app::showWidget(page);
}

void MainWindow::showLinkNotice(QWidget *notice)
{
    if (!m_linkNotices.contains(notice))
        m_linkNotices.append(notice);
    if (!m_reportHeld)
        app::showWidget(notice);
}

void MainWindow::hideLinkNotice(QWidget *notice)
{
    m_linkNotices.removeAll(notice);
    app::hideWidget(notice);
}

void MainWindow::releaseReport()
{
    m_reportHeld = false;
    if (m_linkPage) {
        hidePages();
        app::showWidget(m_linkPage);
    }
    for (QWidget *notice : qAsConst(m_linkNotices))
        app::showWidget(notice);
}

// ---------------------------------------------------------------------------
// Loops that waiting cannot end
// ---------------------------------------------------------------------------

namespace {

qint64 linkClockMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

#ifdef Q_OS_WIN
const bool kWindows = true;
#else
const bool kWindows = false;
#endif

} // namespace

void MainWindow::initLinkNotices()
{
    const DriverAdvice advice = driverAdvice(kWindows);
    ui->MP_D_ConnectedError_Label_Text3->setText(advice.suggestion);
    ui->MP_D_ConnectedError_Button_Url->setText(advice.linkText);
    // The help notice quotes the tools: their words are shown as they are.
    ui->A_MP_D_LinkHelp_Label_Heading->setTextFormat(Qt::PlainText);
    ui->A_MP_D_LinkHelp_Label_Text->setTextFormat(Qt::PlainText);
}

QWidget *MainWindow::noticeOf(LinkProblem problem) const
{
    switch (noticeFor(problem)) {
    case ProblemNotice::PortUsed: return ui->A_MP_D_PortUsed;
    case ProblemNotice::DriverError: return ui->A_MP_D_DirverError_1_1;
    case ProblemNotice::Help: break;
    }
    return ui->A_MP_D_LinkHelp;
}

void MainWindow::noteLinkProblem(LinkProblem problem, const QString &detail)
{
    ProblemWatch &watch = m_problems[int(problem)];
    if (watch.rounds == 0) {
        watch.firstSeenMs = linkClockMs();
        qDebug() << "link problem:" << problemName(problem) << detail;
    }
    ++watch.rounds;
    // Known from its first round: the phone page gives way at once.
    if (leavesPhoneUnusable(problem) && m_linkPage == ui->A_MP_ConnectedInfomation_5)
        showLinkPage(ui->A_MP_PleaseConnect_1);
    const bool changed = watch.detail != detail;
    watch.detail = detail;
    if (!watch.told) {
        if (graceOver(watch.rounds, linkClockMs() - watch.firstSeenMs, m_problemGraceRounds, m_problemGraceMs))
            tellLinkProblem(problem);
    } else if (changed && m_helpProblem == int(problem)) {
        const HelpText help = helpText(problem, detail, kWindows);
        ui->A_MP_D_LinkHelp_Label_Text->setText(help.text);
    }
    if (watch.told)
        retryCalmly();
}

// Shown once per episode: a notice the user closes stays closed until the
// problem has ended and come back.
void MainWindow::tellLinkProblem(LinkProblem problem)
{
    ProblemWatch &watch = m_problems[int(problem)];
    watch.told = true;
    qDebug() << "link problem told:" << problemName(problem) << "after" << watch.rounds << "rounds";
    switch (noticeFor(problem)) {
    case ProblemNotice::Help: {
        const HelpText help = helpText(problem, watch.detail, kWindows);
        ui->A_MP_D_LinkHelp_Label_Heading->setText(help.heading);
        ui->A_MP_D_LinkHelp_Label_Text->setText(help.text);
        m_helpProblem = int(problem);
        break;
    }
    case ProblemNotice::PortUsed:
        ui->A_MP_D_PortUsed_Label_Info->setText(watch.detail);
        break;
    case ProblemNotice::DriverError:
        break;
    }
    showLinkNotice(noticeOf(problem));
}

void MainWindow::clearLinkProblem(LinkProblem problem)
{
    ProblemWatch &watch = m_problems[int(problem)];
    if (watch.rounds == 0)
        return;
    if (watch.told) {
        qDebug() << "link problem over:" << problemName(problem);
        if (noticeFor(problem) != ProblemNotice::Help || m_helpProblem == int(problem))
            hideLinkNotice(noticeOf(problem));
        if (m_helpProblem == int(problem))
            m_helpProblem = -1;
    }
    watch = ProblemWatch();
}

void MainWindow::clearLinkProblems()
{
    for (int p = 0; p < LinkProblemCount; ++p)
        clearLinkProblem(LinkProblem(p));
}

bool MainWindow::phoneUnusable() const
{
    for (int p = 0; p < LinkProblemCount; ++p) {
        if (m_problems[p].rounds > 0 && leavesPhoneUnusable(LinkProblem(p)))
            return true;
    }
    return false;
}

void MainWindow::on_A_MP_D_LinkHelp_PushButton_Ok_clicked() { hideLinkNotice(ui->A_MP_D_LinkHelp); }

void MainWindow::on_A_MP_D_LinkHelp_PushButton_Close_clicked() { hideLinkNotice(ui->A_MP_D_LinkHelp); }
