#pragma once

#include <QEvent>
#include <QString>

// A device change posted to the receivers registered with QDeviceWatcher.
class QDeviceChangeEvent : public QEvent
{
public:
    enum Action { Add = 0, Remove = 1, Change = 2 };

    QDeviceChangeEvent(Action action, const QString &device);

    Action action() const { return m_action; }
    QString device() const { return m_device; }

    // The custom event type, registered once on first use.
    static QEvent::Type registeredType();

private:
    Action m_action;
    QString m_device;
};
