// Benchmark (not a test): fill the contact table with 10,000 contacts and the
// message table with 20,000 messages, then one select-all click on each. The
// contact fill is also set against a bare table of the same size filled with
// plain QTableWidgetItem cells of the same texts (fills taken in turn, the
// median of five of each).
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

// The contact table's texts, a row per contact, as the table shows them.
QVector<QStringList> contactTexts(const MainWindow &w)
{
    QVector<QStringList> rows;
    for (const QString &number : w.m_contactMapNumberId.uniqueKeys()) {
        const QStringList fields = w.m_contactMapIdData.value(w.m_contactMapNumberId.value(number)).split(';');
        rows << fields.mid(1, 5);
    }
    return rows;
}

// A bare table of the same size, filled with plain cells of the same texts.
double bareFill(QTableWidget *table, const QVector<QStringList> &rows)
{
    QElapsedTimer t;
    t.start();
    table->clear();
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

    // The contact fill against bare cells: a warm-up, then five of each in turn.
    render(w, Contact);
    QTableWidget bare;
    const QVector<QStringList> texts = contactTexts(w);
    bareFill(&bare, texts);
    QVector<double> fills, bares, ratios;
    QElapsedTimer t;
    for (int i = 0; i < 5; ++i) {
        t.start();
        render(w, Contact);
        fills << t.nsecsElapsed() / 1e6;
        bares << bareFill(&bare, texts);
        ratios << fills.last() / bares.last();
    }
    out << "fill 10000 contacts: median " << median(fills) << " ms; bare cells " << median(bares)
        << " ms; ratio " << QString::number(median(ratios), 'f', 2) << " (";
    for (int i = 0; i < ratios.size(); ++i)
        out << (i ? " " : "") << QString::number(ratios.at(i), 'f', 2);
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
