#pragma once

// Puts records into a real MainWindow the way the reply decoder stores them,
// and clicks table rows through the tables' own signal.

#include "mainwindow.h"

#include "protocol/records.h"
#include "simdataset.h"

#include <QTableWidget>

namespace fixture {

inline void addText(MainWindow &w, Category c, const QString &record)
{
    proto::addTextRecord(record, w.recordMapsOf(c));
}

inline QString contact(int i, const QString &number)
{
    return QStringLiteral("%1;Person %1;%2;p%1@example.org;%1 Elm Street;Org %1")
        .arg(i)
        .arg(number);
}

// Stores the simulated phone's lists as the reply decoder does.
inline void load(MainWindow &w, const SimDataSet &d)
{
    proto::addTextRecords(proto::joinRecords(d.lists[Contact]),
                          {&w.m_contactMapIdData, &w.m_contactMapNameId, &w.m_contactMapNumberId});
    proto::addTextRecords(proto::joinRecords(d.lists[History]),
                          {&w.m_historyMapIdData, &w.m_historyMapNameId, &w.m_historyMapNumberId});
    proto::addTextRecords(proto::joinRecords(d.lists[Message]),
                          {&w.m_messageMapIdData, &w.m_messageMapNameId, &w.m_messageMapNumberId});
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Photo]), &w.m_photoDir);
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Audio]), &w.m_audioDir);
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Vedio]), &w.m_vedioDir);
    w.m_photoCount = quint16(d.lists[Photo].size());
}

// Fills one category and runs its table update as the scan does.
inline void render(MainWindow &w, Category c)
{
    w.m_eraseType = EraseType::Private;
    w.m_dataReadable[c] = true;
    switch (c) {
    case Contact: w.updateContactUI(); break;
    case History: w.updateHistoryUI(); break;
    case Message: w.updateMessageUI(); break;
    case Photo: w.updatePhotoUI(); break;
    case Audio: w.updateAudioUI(); break;
    case Vedio: w.updateVedioUI(); break;
    default: break;
    }
}

inline void click(QTableWidget *t, int row)
{
    emit t->itemClicked(t->item(row, 1));
}

inline bool checked(QTableWidget *t, int row)
{
    return t->item(row, 0) && t->item(row, 0)->checkState() == Qt::Checked;
}

inline QColor bg(QTableWidget *t, int row, int col = 1)
{
    return t->item(row, col)->background().color();
}

// A window that stays still: no device-link steps run under the test.
inline void quiet(MainWindow &w)
{
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
    w.stopActivityTimers();
}

} // namespace fixture
