#include "devicewatcher/qdevicechangeevent.h"

QDeviceChangeEvent::QDeviceChangeEvent(Action action, const QString &device)
    : QEvent(registeredType())
    , m_action(action)
    , m_device(device)
{
}

QEvent::Type QDeviceChangeEvent::registeredType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
