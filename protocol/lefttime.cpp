// Left-time replies: item counts per category turned into expected scan and
// erase times (seconds) and the scope totals the countdown starts from.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>

#include "protocol/frame.h"
#include "protocol/messages.h"
#include "protocol/records.h"

using proto::BodyReader;

// Sets the expected times of the categories [first, first + n) from counts
// (and byte sizes, where given) and returns the scan and erase sums.
void MainWindow::applyLeftTimeCounts(int first, int n, const qint64 *counts, const qint64 *bytes,
                                     bool replaceNonPositive, float *scanSum, float *eraseSum)
{
    *scanSum = 0;
    *eraseSum = 0;
    for (int i = 0; i < n; ++i) {
        const int c = first + i;
        const qint64 count = qMax<qint64>(0, counts[i]);
        float scan = float(count) * m_scanSecondsPerItem[c];
        float erase = float(count) * m_eraseSecondsPerItem[c];
        if (bytes) {
            const qint64 size = qMax<qint64>(0, bytes[i]);
            scan += float(double(size) / proto::ScanBytesPerSecond);
            erase += float(double(size) / proto::EraseBytesPerSecond);
        }
        if (replaceNonPositive) {
            if (!(scan > 0))
                scan = 50;
            if (!(erase > 0))
                erase = 50;
        }
        m_expectedScanTime[c] = scan;
        m_expectedEraseTime[c] = erase;
        m_announcedCount[c] = count;
        *scanSum += scan;
        *eraseSum += erase;
    }
}

void MainWindow::readGates(BodyReader &r)
{
    for (bool &gate : m_sdkGate)
        gate = r.int16() == 1;
}

void MainWindow::decodeLeftTime(quint16 typeId, BodyReader &r)
{
    using namespace proto;
    qint64 counts[CategoryCount] = {};
    float scanSum = 0;
    float eraseSum = 0;

    switch (typeId) {
    case PrivateLeftTimeBack:
    case PrivateLeftTimeGates: {
        if (typeId == PrivateLeftTimeGates)
            readGates(r);
        for (int i = 0; i < 6; ++i)
            counts[i] = r.uint16();
        m_photoCount = quint16(counts[Photo]);
        applyLeftTimeCounts(Contact, 6, counts, nullptr, true, &scanSum, &eraseSum);
        m_scanLeftPrivate = scanSum;
        m_eraseLeftPrivate = eraseSum;
        qDebug() << "got private left time:all" << m_scanLeftPrivate;
        if (typeId == PrivateLeftTimeBack) {
            QString trace = QStringLiteral("private leftTimeDone:\n");
            for (int c = Contact; c <= Vedio; ++c)
                trace += QString::number(double(m_expectedScanTime[c])) + QStringLiteral(",\n");
            appendHiddenTrace(ui->testLabel_3, trace);
            qDebug() << "in got receive,get Private left time done";
        }
        break;
    }
    case AllLeftTimeBack:
    case AllLeftTimeGates: {
        const bool gates = typeId == AllLeftTimeGates;
        if (gates)
            readGates(r);
        for (int i = 0; i < CategoryCount; ++i)
            counts[i] = r.uint16();
        applyLeftTimeCounts(Contact, CategoryCount, counts, nullptr, gates, &scanSum, &eraseSum);
        if (!gates) {
            if (!(scanSum > 0))
                scanSum = 50;
            if (!(eraseSum > 0))
                eraseSum = 50;
            qDebug() << "get all left time done";
        }
        m_scanLeftAll = scanSum;
        m_eraseLeftAll = eraseSum;
        break;
    }
    case AppLeftTimeBack: {
        for (int i = 0; i < AppCategoryCount; ++i)
            counts[i] = r.uint16();
        static const char *const names[AppCategoryCount] = {"facebook", "twitterCount", "skypeCount",
                                                            "viberCount", "kikCount", "whatsappCount"};
        for (int i = 0; i < AppCategoryCount; ++i)
            qDebug() << (QByteArray(names[i]) + " count:").constData() << counts[i];
        applyLeftTimeCounts(FirstAppCategory, AppCategoryCount, counts, nullptr, true, &scanSum, &eraseSum);
        qDebug() << "facebook scan time:" << m_expectedScanTime[Facebook];
        qDebug() << "twitterCount scan time:" << m_expectedScanTime[Twitter];
        qDebug() << "skypeCount scan time:" << m_expectedScanTime[Skype];
        m_scanLeftApp = scanSum;
        m_eraseLeftApp = eraseSum;
        break;
    }
    case NoAppData:
        for (int c = FirstAppCategory; c < CategoryCount; ++c) {
            m_expectedScanTime[c] = 0;
            m_expectedEraseTime[c] = 0;
            m_announcedCount[c] = 0;
        }
        m_noAppData = true;
        m_scanLeftApp = 0;
        m_eraseLeftApp = 0;
        m_sdkGate[3] = false;
        break;
    default:
        return;
    }
    m_leftTimeReadable = true;
}

// Left time of the current scope: item counts, then (64-bit tag, 64-bit byte
// size) pairs for the file and app categories of the scope.
void MainWindow::decodeLeftTimeOfScope(BodyReader &r)
{
    qint64 counts[CategoryCount] = {};
    qint64 bytes[CategoryCount] = {};
    int first = Contact;
    int n = CategoryCount;
    int firstSized = Photo;
    int sized = 9;
    switch (m_eraseType) {
    case EraseType::App:
        first = FirstAppCategory;
        n = AppCategoryCount;
        firstSized = FirstAppCategory;
        sized = AppCategoryCount;
        break;
    case EraseType::Private:
        n = 6;
        sized = 3;
        break;
    case EraseType::All:
        break;
    }
    for (int i = 0; i < n; ++i)
        counts[i] = r.int16();
    for (int i = 0; i < sized; ++i)
        bytes[firstSized - first + i] = r.int64();

    float scanSum = 0;
    float eraseSum = 0;
    applyLeftTimeCounts(first, n, counts, bytes, true, &scanSum, &eraseSum);
    switch (m_eraseType) {
    case EraseType::App:
        m_scanLeftApp = scanSum;
        m_eraseLeftApp = eraseSum;
        break;
    case EraseType::Private:
        m_photoCount = quint16(qMax<qint64>(0, counts[Photo]));
        m_scanLeftPrivate = scanSum;
        m_eraseLeftPrivate = eraseSum;
        break;
    case EraseType::All:
        m_scanLeftAll = scanSum;
        m_eraseLeftAll = eraseSum;
        break;
    }
    m_leftTimeReadable = true;
}
