// Benchmark (not a test): fill the contact table with 10,000 contacts and the
// message table with 20,000 messages, then one select-all click on each. The
// contact fill is also set against a bare table filled from the same records
// with plain QTableWidgetItem cells, and against plain cells of ready-made
// texts (fills taken in turn, the median of five of each).
// Run: <build>/tests/browser/bench_browser

#include "browserfixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTextStream>

#include <algorithm>

using namespace fixture;

namespace {

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

// The contact table's texts, a row per contact, ready made.
QVector<QStringList> contactTexts(const MainWindow &w)
{
    QVector<QStringList> rows;
    for (const QString &number : w.m_contactMapNumberId.uniqueKeys())
        rows << w.m_contactMapIdData.value(w.m_contactMapNumberId.value(number)).split(QLatin1Char(';')).mid(1, 5);
    return rows;
}

// A bare table emptied and filled with plain cells of ready-made texts: the
// cost of the cells alone.
double bareCells(QTableWidget *table, const QVector<QStringList> &rows)
{
    QElapsedTimer t;
    t.start();
    table->clear();
    table->setRowCount(0);
    table->setColumnCount(6);
    table->setRowCount(rows.size() + 1);
    for (int c = 0; c < 6; ++c)
        table->setItem(0, c, new QTableWidgetItem(QStringLiteral("head")));
    for (int r = 0; r < rows.size(); ++r) {
        table->setItem(r + 1, 0, new QTableWidgetItem);
        for (int c = 0; c < 5; ++c)
            table->setItem(r + 1, c + 1, new QTableWidgetItem(rows.at(r).value(c)));
    }
    return t.nsecsElapsed() / 1e6;
}

// A bare table of the same size, emptied and filled with plain cells: the
// same rows from the same records (the record of each number looked up and
// split at its ";"), each field a plain QTableWidgetItem, with no look and
// no selection state.
double bareFill(QTableWidget *table, const MainWindow &w)
{
    QElapsedTimer t;
    t.start();
    const proto::NumberIndex &numbers = w.m_contactMapNumberId;
    const QStringList keys = numbers.uniqueKeys();
    table->clear();
    table->setRowCount(0);
    table->setColumnCount(6);
    table->setRowCount(keys.size() + 1);
    for (int c = 0; c < 6; ++c)
        table->setItem(0, c, new QTableWidgetItem(QStringLiteral("head")));
    for (int r = 0; r < keys.size(); ++r) {
        const QStringList fields = w.m_contactMapIdData.value(numbers.value(keys.at(r))).split(QLatin1Char(';'));
        table->setItem(r + 1, 0, new QTableWidgetItem);
        for (int c = 1; c <= 5; ++c)
            table->setItem(r + 1, c, new QTableWidgetItem(fields.value(c)));
    }
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "default.debug=false");
    QApplication app(argc, argv);
    MainWindow w;
    quiet(w);
    QTextStream out(stdout);

    for (int i = 0; i < 10000; ++i)
        addText(w, Contact, contact(i, QStringLiteral("+1 555 %1").arg(i, 6, 10, QLatin1Char('0'))));
    for (int i = 0; i < 20000; ++i)
        addText(w, Message,
                QStringLiteral("m%1;Sender %2;+1 555 %3;Message body number %1;2026-%4-%5 10:%6:00;accepted")
                    .arg(i)
                    .arg(i % 3000)
                    .arg(i % 3000, 6, 10, QLatin1Char('0'))
                    .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                    .arg(i % 60, 2, 10, QLatin1Char('0')));

    // The first fill of a fresh window's contact table (as a scan fills it)
    // against a bare fill of a fresh table from the same records, and
    // against bare cells of ready-made texts: five rounds, each with fresh
    // tables, the three in turn.
    QVector<double> fills, bares, cells, ratios, cellRatios;
    QElapsedTimer t;
    for (int i = 0; i < 5; ++i) {
        MainWindow fresh;
        quiet(fresh);
        for (int k = 0; k < 10000; ++k)
            addText(fresh, Contact, contact(k, QStringLiteral("+1 555 %1").arg(k, 6, 10, QLatin1Char('0'))));
        fresh.createCategoryTables();
        t.start();
        render(fresh, Contact);
        fills << t.nsecsElapsed() / 1e6;
        QTableWidget bare;
        bares << bareFill(&bare, fresh);
        QTableWidget bare2;
        cells << bareCells(&bare2, contactTexts(fresh));
        ratios << fills.last() / bares.last();
        cellRatios << fills.last() / cells.last();
    }
    out << "fill 10000 contacts: median " << QString::number(median(fills), 'f', 1) << " ms; bare fill from the records "
        << QString::number(median(bares), 'f', 1) << " ms, ratio " << QString::number(median(ratios), 'f', 2) << " (";
    for (int i = 0; i < ratios.size(); ++i)
        out << (i ? " " : "") << QString::number(ratios.at(i), 'f', 2);
    out << "); bare cells of ready texts " << QString::number(median(cells), 'f', 1) << " ms, ratio "
        << QString::number(median(cellRatios), 'f', 2) << " (";
    for (int i = 0; i < cellRatios.size(); ++i)
        out << (i ? " " : "") << QString::number(cellRatios.at(i), 'f', 2);
    out << ")\n";

    t.start();
    render(w, Contact);
    const qint64 fillContacts = t.restart();
    render(w, Message);
    const qint64 fillMessages = t.restart();
    click(w.categoryTable(Contact), 0);
    const qint64 selectContacts = t.restart();
    const int chosenContacts = w.m_contactToEraseList.size();
    click(w.categoryTable(Message), 0);
    const qint64 selectMessages = t.restart();
    click(w.categoryTable(Contact), 0);
    const qint64 clearContacts = t.restart();

    out << "fill 10000 contacts: " << fillContacts << " ms ("
        << w.categoryTable(Contact)->rowCount() - 1 << " rows)\n";
    out << "fill 20000 messages: " << fillMessages << " ms ("
        << w.categoryTable(Message)->rowCount() - 1 << " rows, 3000 numbers)\n";
    out << "select all contacts: " << selectContacts << " ms (" << chosenContacts << " ids)\n";
    out << "select all messages: " << selectMessages << " ms (" << w.m_messageToEraseList.size()
        << " ids)\n";
    out << "clear all contacts: " << clearContacts << " ms\n";

    // Worst case: every message from its own number, one row each.
    MainWindow w2;
    quiet(w2);
    for (int i = 0; i < 20000; ++i)
        addText(w2, Message,
                QStringLiteral("m%1;Sender %1;+44 700 %1;Body %1;2026-06-%2 08:00:00;sent")
                    .arg(i)
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
    t.restart();
    render(w2, Message);
    const qint64 fillDistinct = t.restart();
    click(w2.categoryTable(Message), 0);
    const qint64 selectDistinct = t.restart();
    out << "fill 20000 messages, 20000 numbers: " << fillDistinct << " ms\n";
    out << "select all of them: " << selectDistinct << " ms (" << w2.m_messageToEraseList.size()
        << " ids)\n";
    return 0;
}
