#pragma once

#include <QObject>
#include <QString>

class QDeviceWatcherPrivate;

// Set when the system reports that a USB device arrived; the presence poll
// reads and clears it. Written and read on the GUI thread only.
extern bool m_deviceArrived;

// Watches for USB device arrivals and volume removals. On Windows a hidden
// window receives the system's device notifications; elsewhere the watcher
// starts and stops but never reports anything, and the presence poll relies
// on `adb devices` alone.
class QDeviceWatcher : public QObject
{
    Q_OBJECT
public:
    explicit QDeviceWatcher(QObject *parent = nullptr);
    ~QDeviceWatcher() override;

    bool startWatching();
    bool stopWatching();
    bool isWatching() const { return m_running; }

    // Receivers get a QDeviceChangeEvent for every reported drive change.
    void registerEventReceiver(QObject *receiver);

signals:
    void deviceAdded(const QString &device);
    void deviceChanged(const QString &device);
    void deviceRemoved(const QString &device);

private:
    friend class QDeviceWatcherPrivate;
    bool m_running = false;
    QDeviceWatcherPrivate *d = nullptr;
};
