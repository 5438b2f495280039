// Photo thumbnails: the photos are asked for one at a time (the next as soon
// as the companion app has answered, at the latest after 2 s), rows scrolled
// into view first; each received photo is turned into an icon and a small
// preview at once and put into the row of the location it was asked for.

#include "mainwindow.h"

#include "browser/browserlogic.h"
#include "browser/photothumb.h"

#include <QDebug>
#include <QPixmap>
#include <QScrollBar>
#include <QTableWidget>

namespace {
// The fallback answer time: a photo that never comes does not hold up the rest.
constexpr int kPhotoAnswerMs = 2000;
} // namespace

void MainWindow::startPhotoFetching()
{
    qDebug() << "start get photo";
    m_timerGetPhotoByTime->start(0); // the first photo at once
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

void MainWindow::clearPhotoThumbnails()
{
    // Photos still decoding belong to the scan that ends here.
    m_photoDecoding.clear();
    ++m_photoDecodeRound;
    m_photoThumbs.clear();
    m_photoUnplaced.clear();
    m_photoRowsOfLocation.clear();
    m_photoRowsIndexed = 0;
    m_photoAsked.clear();
    m_photoAskCursor = 0;
    m_photoRequestCount = 0;
    m_photoGotList.clear();
    m_photoIconList.clear();
    m_photoScrollValue = 0;
}

bool MainWindow::photoStopPending() const
{
    return anyPollActive(PhotoStopWait);
}

void MainWindow::photoChunkArrived()
{
    if (!m_photoRequested.isEmpty() && m_timerGetPhotoByTime && m_timerGetPhotoByTime->isActive())
        m_timerGetPhotoByTime->start(kPhotoAnswerMs);
}

void MainWindow::photoReplyEnded()
{
    // One request outstanding at a time: a late answer, after the time-out
    // has asked for the next photo already, asks for nothing more.
    if (m_photoRequested.isEmpty() && m_timerGetPhotoByTime && m_timerGetPhotoByTime->isActive()
        && !photoStopPending())
        getPhotoByTime();
}

// One photo request per call: the slot runs when the previous photo has come,
// and by its timer when it has not come within 2 s. Once every photo has been
// asked for, the next call sends the stop request. While a stop request waits
// for its acknowledgement, nothing more is asked for.
void MainWindow::getPhotoByTime()
{
    if (photoStopPending())
        return;
    // Decoding lags behind: the next photo is asked for when one is done
    // (photoThumbnailMade), or at the latest on the next tick.
    if (m_photoDecoder && m_photoDecoder->pending() >= m_maxPhotoDecodes)
        return;
    if (m_photoAsked.size() != m_photoDir.size())
        m_photoAsked.resize(m_photoDir.size());

    int firstVisible = -1;
    int lastVisible = -1;
    QTableWidget *table = categoryTable(Photo);
    if (table && table->isVisible()) {
        firstVisible = table->rowAt(0);
        lastVisible = table->rowAt(table->viewport()->height() - 1);
        if (lastVisible < 0)
            lastVisible = table->rowCount() - 1;
    }
    const int next = browser::nextPhotoToAsk(m_photoDir, m_photoAsked, firstVisible, lastVisible, &m_photoAskCursor);
    if (next >= 0) {
        m_photoAsked.setBit(next);
        sendGetPhotoByName(browser::fileRow(m_photoDir.at(next)).location);
        ++m_photoRequestCount;
        qDebug() << "get photo requested,in by time";
        m_timerGetPhotoByTime->start(kPhotoAnswerMs);
        return;
    }
    if (m_photoDir.isEmpty())
        qDebug() << "get photo ,dir is empty,dont need photo requested";
    if (m_timerGetPhotoByTime->isActive()) {
        sendStopGetPhoto();
        m_timerGetPhotoByTime->stop();
    }
    if (m_timerUpdateTablePhoto->isActive())
        m_timerUpdateTablePhoto->stop();
}

void MainWindow::storePhotoThumbnail(const QString &location, const QByteArray &data)
{
    // a photo already shown (or being decoded) for this location stays
    if (location.isEmpty() || m_photoThumbs.contains(location) || m_photoDecoding.contains(location))
        return;
    if (!m_photoDecoder) {
        m_photoDecoder = browser::PhotoDecoder::create();
        m_photoDecoder->done = [this](quint64 round, const QString &where, const browser::PhotoThumbnail &made) {
            photoThumbnailMade(round, where, made);
        };
    }
    m_photoDecoding.insert(location);
    m_photoDecoder->decode(m_photoDecodeRound, location, data);
}

void MainWindow::photoThumbnailMade(quint64 round, const QString &location, const browser::PhotoThumbnail &made)
{
    if (round == m_photoDecodeRound && m_photoDecoding.remove(location)) {
        PhotoThumb thumb;
        if (made.status == browser::PhotoThumbnail::Decoded) {
            thumb.icon = QPixmap::fromImage(made.icon);
            thumb.preview = made.preview;
        } else {
            if (made.status == browser::PhotoThumbnail::TooLarge)
                qDebug() << "photo too large to show:" << location << made.declaredSize;
            if (m_photoFallbackPixmap.isNull())
                m_photoFallbackPixmap =
                    QPixmap::fromImage(QImage(QStringLiteral(":/Image/Private/contactTable_headUnselect.png"), "PNG"));
            thumb.icon = m_photoFallbackPixmap;
        }
        m_photoThumbs.insert(location, thumb);
        if (!placePhotoThumbnail(location))
            m_photoUnplaced.append(location);
    }
    // A place in the decoding queue is free: the next photo, if it waited.
    photoReplyEnded();
}

// Puts a stored thumbnail into every row of its location that shows none yet.
bool MainWindow::placePhotoThumbnail(const QString &location)
{
    QTableWidget *table = categoryTable(Photo);
    if (!table)
        return false;
    for (; m_photoRowsIndexed < m_photoDir.size(); ++m_photoRowsIndexed)
        m_photoRowsOfLocation.insert(browser::fileRow(m_photoDir.at(m_photoRowsIndexed)).location,
                                     m_photoRowsIndexed + 1);
    const QList<int> rows = m_photoRowsOfLocation.values(location);
    bool placed = false;
    for (int r : rows) {
        QTableWidgetItem *thumb = r < table->rowCount() ? table->item(r, 1) : nullptr;
        if (!thumb)
            continue;
        placed = true;
        if (!thumb->whatsThis().isEmpty()) {
            qDebug() << "table item updated,whatsthis not empty" << thumb->whatsThis();
            continue;
        }
        QIcon icon(m_photoThumbs.value(location).icon);
        m_photoIconList.append(icon);
        thumb->setIcon(icon);
        thumb->setWhatsThis(m_photoDir.at(r - 1));
        qDebug() << "end update photo once,not search" << r;
    }
    return placed;
}

// Places what arrived before its row existed; every other thumbnail was
// placed when it arrived, so a tick costs nothing.
void MainWindow::updateTablePhoto()
{
    if (m_photoUnplaced.isEmpty())
        return;
    qDebug() << "updatePhoto once";
    if (QTableWidget *table = categoryTable(Photo))
        m_photoScrollValue = table->verticalScrollBar()->value();
    for (int i = m_photoUnplaced.size() - 1; i >= 0; --i) {
        if (placePhotoThumbnail(m_photoUnplaced.at(i)))
            m_photoUnplaced.removeAt(i);
    }
}

// The preview of a photo row: the stored preview, or, for a photo not (yet)
// shown, the row's icon.
QPixmap MainWindow::photoPreview(int row) const
{
    const QSize side(browser::PhotoPreviewSide, browser::PhotoPreviewSide);
    if (row >= 1 && row <= m_photoDir.size()) {
        const QByteArray bytes = m_photoThumbs.value(browser::fileRow(m_photoDir.at(row - 1)).location).preview;
        const QImage preview = browser::previewImage(bytes);
        if (!preview.isNull())
            return QPixmap::fromImage(preview.scaled(side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    QTableWidget *table = categoryTable(Photo);
    const QTableWidgetItem *thumb = table ? table->item(row, 1) : nullptr;
    const QPixmap px = thumb ? thumb->icon().pixmap(side) : QPixmap();
    return px.isNull() ? px : px.scaled(side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
