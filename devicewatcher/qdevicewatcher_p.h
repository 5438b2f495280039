#pragma once

#include <QList>
#include <QObject>
#include <QString>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

class QDeviceWatcher;

// Platform half of QDeviceWatcher.
class QDeviceWatcherPrivate : public QObject
{
    Q_OBJECT
public:
    explicit QDeviceWatcherPrivate(QDeviceWatcher *watcher);
    ~QDeviceWatcherPrivate() override;

    bool start();
    bool stop();

    // Emits the watcher's signal for the action ("add", "remove", "change")
    // and returns whether the call could be made.
    bool emitWatcherSignal(const QString &action, const QString &device);

    QList<QObject *> eventReceivers;
    QDeviceWatcher *watcher = nullptr;

#ifdef Q_OS_WIN
    HWND hwnd = nullptr;
    QString windowClassName() const;
#endif
};
