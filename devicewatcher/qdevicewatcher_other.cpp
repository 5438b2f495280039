#include "devicewatcher/qdevicewatcher_p.h"

#ifndef Q_OS_WIN

// Without system device notifications the watcher only keeps its running
// state; nothing ever sets m_deviceArrived.
bool QDeviceWatcherPrivate::start()
{
    return true;
}

bool QDeviceWatcherPrivate::stop()
{
    return true;
}

#endif
