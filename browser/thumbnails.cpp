#include "mainwindow.h"

#include "browser/browserlogic.h"

#include <QDebug>
#include <QPixmap>
#include <QScrollBar>
#include <QTableWidget>

void MainWindow::startPhotoFetching()
{
    qDebug() << "start get photo";
    m_timerGetPhotoByTime->start(2000);
    m_timerUpdateTablePhoto->start(1000);
    qDebug() << "after start update photo";
}

void MainWindow::stopPhotoFetching()
{
    if (m_timerGetPhotoByTime && m_timerGetPhotoByTime->isActive())
        m_timerGetPhotoByTime->stop();
    if (m_timerUpdateTablePhoto && m_timerUpdateTablePhoto->isActive())
        m_timerUpdateTablePhoto->stop();
}

// One photo request per tick; the stop request follows one tick after the last
// one. An entry without a location cannot be asked for and is passed over, so
// the photos after it still come.
void MainWindow::getPhotoByTime()
{
    if (m_photoRequestCount < m_photoCount) {
        while (m_photoRequestCount < m_photoCount) {
            if (m_photoRequestCount >= m_photoDir.size()) {
                qDebug() << "get photo ,dir is empty,dont need photo requested";
                return;
            }
            const QString location = browser::fileRow(m_photoDir.at(m_photoRequestCount)).location;
            ++m_photoRequestCount;
            if (!location.isEmpty()) {
                sendGetPhotoByName(location);
                qDebug() << "get photo requested,in by time";
                return;
            }
            qDebug() << "get photo ,dir is empty,dont need photo requested";
        }
        return;
    }
    if (m_timerGetPhotoByTime->isActive()) {
        sendStopGetPhoto();
        m_timerGetPhotoByTime->stop();
    }
    if (m_timerUpdateTablePhoto->isActive())
        m_timerUpdateTablePhoto->stop();
}

void MainWindow::updateTablePhoto()
{
    if (m_photoMapNameImage.isEmpty())
        return;
    qDebug() << "updatePhoto once";
    QTableWidget *table = categoryTable(Photo);
    if (!table)
        return;
    m_photoScrollValue = table->verticalScrollBar()->value();
    qDebug() << "startCount:" << 0 << "endCount:" << table->rowCount() - 2;

    const QStringList keys = m_photoMapNameImage.keys(); // ascending
    const int n = qMin(m_photoDir.size(), table->rowCount() - 1);
    for (int r = 1; r <= n; ++r) {
        QTableWidgetItem *thumb = table->item(r, 1);
        if (!thumb)
            continue;
        if (!thumb->whatsThis().isEmpty()) {
            qDebug() << "table item updated,whatsthis not empty" << thumb->whatsThis();
            continue;
        }
        qDebug() << "start update photo once,not search";
        const QTableWidgetItem *nameItem = table->item(r, 2);
        const QString name = nameItem ? nameItem->text() : QString();
        qDebug() << "tablePhotoName:" << name;
        const QString key = browser::matchingImageKey(keys, name);
        if (key.isEmpty()) {
            qDebug() << "not contains photo once";
            continue;
        }
        qDebug() << "contains photo once";
        const QImage *image = m_photoMapNameImage.value(key);
        QPixmap px = image ? QPixmap::fromImage(*image) : QPixmap();
        if (px.isNull())
            px = QPixmap::fromImage(
                QImage(QStringLiteral(":/Image/Private/contactTable_headUnselect.png"), "PNG"));
        QIcon icon(px);
        if (icon.isNull())
            icon.addPixmap(px);
        m_photoIconList.append(icon);
        thumb->setIcon(icon);
        qDebug() << "after update,item name:" << icon.name();
        thumb->setWhatsThis(m_photoDir.at(r - 1));
        qDebug() << "end update photo once,not search";
    }
}
