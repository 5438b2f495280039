#pragma once

// What sets the six category tables apart: object names, headers, sizes, the
// members each one uses, and its log words.

#include "mainwindow.h"

#include <QColor>

struct MainWindow::TableLayout
{
    int category;
    const char *objectName;
    const char *captionWord; // caption before "(n)", translated in the context "eraseplan"
    const char *buttonName;  // category button on the results page
    const char *bgLabelName; // background label behind the button
    const char *selectedLabelName;
    const char *notSelectedLabelName;
    QStringList headers; // head row, from column 1 on (photos: from column 1, "Photo" first); translated
    QList<int> widths;
    int tableWidth;
    bool keyed; // contacts, history, messages: rows from a number -> id map

    int MainWindow::*minRow;
    bool MainWindow::*lessMin;
    QList<QTableWidgetItem *> MainWindow::*items;
    QStringList MainWindow::*toErase;

    // keyed categories
    proto::NumberIndex MainWindow::*keyMap;
    proto::NumberIndex MainWindow::*searchMap;
    proto::RecordStore MainWindow::*idData;
    bool MainWindow::*searching;
    // file categories
    QStringList MainWindow::*dir;

    void (MainWindow::*itemSlot)(QTableWidgetItem *);
    const char *logName; // "ContactUI", "historyUI", ...
    const char *progressName; // "contact UI", "history UI", ...
};

namespace browser {
// Item data of a keyed row's check cell: the number the row stands for, and
// for a record without a number the one id it stands for.
constexpr int RowKeyRole = Qt::UserRole + 1;
constexpr int RowIdRole = Qt::UserRole + 2;

// Look of the tables.
inline QColor headBackground() { return QColor(229, 230, 231); }
inline QColor checkedBackground() { return QColor(237, 247, 253); }
inline QColor checkedHeadKeyed() { return QColor(219, 243, 252); }
inline QColor textColour() { return QColor(102, 102, 102); }
inline QColor zebra(int row) { return row % 2 ? QColor(246, 246, 246) : QColor(253, 253, 253); }
inline QColor paddedClearedBackground() { return QColor(253, 253, 253); }
} // namespace browser
