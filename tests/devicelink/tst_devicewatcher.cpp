// The portable parts of the device watcher: running state, the signal that
// matches a drive action, and the change event's type.
#include "devicewatcher/qdevicechangeevent.h"
#include "devicewatcher/qdevicewatcher.h"
#include "devicewatcher/qdevicewatcher_p.h"

#include <QSignalSpy>
#include <QtTest>

class TestDeviceWatcher : public QObject
{
    Q_OBJECT
private slots:
    void startsAndStopsRepeatedly()
    {
        QDeviceWatcher watcher;
        QVERIFY(!watcher.isWatching());
        for (int i = 0; i < 3; ++i) {
            QVERIFY(watcher.startWatching());
            QVERIFY(watcher.isWatching());
            QVERIFY(watcher.stopWatching());
            QVERIFY(!watcher.isWatching());
        }
#ifndef Q_OS_WIN
        QVERIFY(!m_deviceArrived); // nothing reports arrivals here
#endif
    }

    void actionSignal_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("added");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("changed");
        QTest::addColumn<bool>("invoked");
        QTest::newRow("add") << "add" << 1 << 0 << 0 << true;
        QTest::newRow("remove, upper case") << "REMOVE" << 0 << 1 << 0 << true;
        QTest::newRow("change") << "Change" << 0 << 0 << 1 << true;
        QTest::newRow("unknown") << "eject" << 0 << 0 << 0 << false;
    }
    void actionSignal()
    {
        QFETCH(QString, action);
        QDeviceWatcher watcher;
        QDeviceWatcherPrivate d(&watcher);
        QSignalSpy added(&watcher, &QDeviceWatcher::deviceAdded);
        QSignalSpy removed(&watcher, &QDeviceWatcher::deviceRemoved);
        QSignalSpy changed(&watcher, &QDeviceWatcher::deviceChanged);
        QTEST(d.emitWatcherSignal(action, QStringLiteral("E:/")), "invoked");
        QTEST(int(added.count()), "added");
        QTEST(int(removed.count()), "removed");
        QTEST(int(changed.count()), "changed");
        for (QSignalSpy *spy : {&added, &removed, &changed}) {
            if (!spy->isEmpty())
                QCOMPARE(spy->first().first().toString(), QStringLiteral("E:/"));
        }
    }

    void changeEventType()
    {
        const QDeviceChangeEvent first(QDeviceChangeEvent::Remove, QStringLiteral("F:/"));
        const QDeviceChangeEvent second(QDeviceChangeEvent::Add, QStringLiteral("G:/"));
        QVERIFY(first.type() >= QEvent::User);
        QCOMPARE(first.type(), second.type());
        QCOMPARE(int(first.action()), 1);
        QCOMPARE(first.device(), QStringLiteral("F:/"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceWatcher)
#include "tst_devicewatcher.moc"
