// The pages and notices the device link shows. The link never shows a page
// over the user's page: every switch hides the other pages first. While a
// report is held in front (m_reportHeld), the link only remembers what it
// wants to show and goes on behind the report.
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

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
    showWidget(page);
}

void MainWindow::showLinkNotice(QWidget *notice)
{
    if (!m_linkNotices.contains(notice))
        m_linkNotices.append(notice);
    if (!m_reportHeld)
        showWidget(notice);
}

void MainWindow::hideLinkNotice(QWidget *notice)
{
    m_linkNotices.removeAll(notice);
    hideWidget(notice);
}

void MainWindow::releaseReport()
{
    m_reportHeld = false;
    if (m_linkPage) {
        hidePages();
        showWidget(m_linkPage);
    }
    for (QWidget *notice : qAsConst(m_linkNotices))
        showWidget(notice);
}
