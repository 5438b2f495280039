#include "devicewatcher/qdevicewatcher.h"
#include "devicewatcher/qdevicewatcher_p.h"

#include <QMetaObject>

bool m_deviceArrived = false;

QDeviceWatcher::QDeviceWatcher(QObject *parent)
    : QObject(parent)
    , d(new QDeviceWatcherPrivate(this))
{
}

QDeviceWatcher::~QDeviceWatcher()
{
    if (m_running)
        stopWatching();
    delete d;
}

bool QDeviceWatcher::startWatching()
{
    m_running = d->start();
    return m_running;
}

bool QDeviceWatcher::stopWatching()
{
    d->stop();
    m_running = false;
    return true;
}

void QDeviceWatcher::registerEventReceiver(QObject *receiver)
{
    d->eventReceivers.append(receiver);
}

QDeviceWatcherPrivate::QDeviceWatcherPrivate(QDeviceWatcher *w)
    : watcher(w)
{
}

QDeviceWatcherPrivate::~QDeviceWatcherPrivate() = default;

bool QDeviceWatcherPrivate::emitWatcherSignal(const QString &action, const QString &device)
{
    const QString a = action.toLower();
    const char *signal = nullptr;
    if (a == QLatin1String("add"))
        signal = "deviceAdded";
    else if (a == QLatin1String("remove"))
        signal = "deviceRemoved";
    else if (a == QLatin1String("change"))
        signal = "deviceChanged";
    if (!signal)
        return false;
    return QMetaObject::invokeMethod(watcher, signal, Q_ARG(QString, device));
}
