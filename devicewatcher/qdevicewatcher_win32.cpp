#include "devicewatcher/qdevicechangeevent.h"
#include "devicewatcher/qdevicewatcher.h"
#include "devicewatcher/qdevicewatcher_p.h"

#ifdef Q_OS_WIN

#include <QCoreApplication>
#include <QDebug>
#include <QList>

#include <dbt.h>
#include <string>

Q_CORE_EXPORT HINSTANCE qWinAppInst();

namespace {

// One device-notification registration per program.
HDEVNOTIFY hDevNotify = nullptr;

// USB devices: {A5DCBF10-6530-11D2-901F-00C04FB951ED}.
const GUID kUsbDeviceInterface = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

void procLog(const QString &message)
{
    qDebug("dw_internal_proc: \"%s\"", qPrintable(message));
}

// Removal (or arrival) of volumes: one drive root per set bit of the unit mask.
void handleVolume(QDeviceWatcherPrivate *d, WPARAM wParam, const DEV_BROADCAST_VOLUME *volume)
{
    const QString action = wParam == DBT_DEVICEREMOVECOMPLETE ? QStringLiteral("remove") : QStringLiteral("add");
    const DWORD mask = volume->dbcv_unitmask & 0x3FFFFFF;
    QList<QPair<QDeviceChangeEvent::Action, QString>> events;
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (DWORD(1) << i)))
            continue;
        const char letter = char('A' + i);
        const QString drive = QString(QLatin1Char(letter)) + QStringLiteral(":/");
        if (volume->dbcv_flags & DBTF_MEDIA)
            procLog(QString::asprintf("Drive %c: Media has been removed.", letter));
        else if (volume->dbcv_flags & DBTF_NET)
            procLog(QString::asprintf("Drive %c: Network share has been removed.", letter));
        else
            procLog(QString::asprintf("Drive %c: Device has been removed.", letter));
        if (!d->emitWatcherSignal(action, drive))
            procLog(QStringLiteral("invoke device%1 failed").arg(action == QLatin1String("add")
                                                                     ? QStringLiteral("Added")
                                                                     : QStringLiteral("Removed")));
        procLog(QStringLiteral("before if."));
        if (!d->eventReceivers.isEmpty())
            events.append(qMakePair(action == QLatin1String("add") ? QDeviceChangeEvent::Add
                                                                   : QDeviceChangeEvent::Remove,
                                    drive));
        procLog(QStringLiteral("after if."));
    }
    // Each receiver gets its own copy: a posted event belongs to the queue.
    for (const auto &e : events) {
        for (QObject *receiver : d->eventReceivers)
            QCoreApplication::postEvent(receiver, new QDeviceChangeEvent(e.first, e.second), Qt::HighEventPriority);
    }
}

LRESULT CALLBACK dw_internal_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE) {
        const auto *header = reinterpret_cast<const DEV_BROADCAST_HDR *>(lParam);
        procLog(QString::asprintf("Device type address: %#llx", static_cast<unsigned long long>(lParam)));
        if (header) {
            switch (header->dbch_devicetype) {
            case DBT_DEVTYP_VOLUME: procLog(QStringLiteral("DBT_DEVTYP_VOLUME. in lParam")); break;
            case DBT_DEVTYP_PORT: procLog(QStringLiteral("DBT_DEVTYP_PORT. in lParam")); break;
            case DBT_DEVTYP_DEVICEINTERFACE: procLog(QStringLiteral("DBT_DEVTYP_DEVICEINTERFACE. in lParam")); break;
            case DBT_DEVTYP_OEM: procLog(QStringLiteral("DBT_DEVTYP_OEM. in lParam")); break;
            default: procLog(QStringLiteral("Unknow device type. in lParam")); break;
            }
        }
        auto *d = reinterpret_cast<QDeviceWatcherPrivate *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        switch (wParam) {
        case 0x0007:
            procLog(QStringLiteral("DBT_DEVNODES_CHANGED message received, no extended info.in wParam"));
            break;
        case 0x0017:
            procLog(QStringLiteral("DBT_QUERYCHANGECONFIG message received, no extended info.in wParam"));
            break;
        case 0x0018:
            procLog(QStringLiteral("DBT_CONFIGCHANGED message received, no extended info.in wParam"));
            break;
        case 0x0019:
            procLog(QStringLiteral("DBT_CONFIGCHANGECANCELED message received, no extended info.in wParam"));
            break;
        case 0x8005:
            procLog(QStringLiteral("DBT_DEVICETYPESPECIFIC message received, may contain an extended info."));
            break;
        case 0x8006:
            procLog(QStringLiteral("DBT_CUSTOMEVENT message received, contains an extended info."));
            break;
        case 0xFFFF:
            procLog(QStringLiteral("WM_DEVICECHANGE user defined message received, can not handle."));
            break;
        case 0x8000:
            procLog(QStringLiteral("DBT_DEVICEARRIVAL message received, no extended info. in wParam"));
            m_deviceArrived = true;
            break;
        case 0x8001:
        case 0x8002:
        case 0x8003:
        case 0x8004:
            procLog(QStringLiteral("DBT_DEVICEREMOVECOMPLETE message received, no extended info. in wParam"));
            if (header) {
                switch (header->dbch_devicetype) {
                case DBT_DEVTYP_OEM: procLog(QStringLiteral("DBT_DEVTYP_OEM")); break;
                case DBT_DEVTYP_PORT: procLog(QStringLiteral("DBT_DEVTYP_PORT")); break;
                case DBT_DEVTYP_DEVICEINTERFACE: procLog(QStringLiteral("DBT_DEVTYP_DEVICEINTERFACE")); break;
                case DBT_DEVTYP_HANDLE: procLog(QStringLiteral("DBT_DEVTYP_HANDLE")); break;
                case DBT_DEVTYP_VOLUME:
                    if (d)
                        handleVolume(d, wParam, reinterpret_cast<const DEV_BROADCAST_VOLUME *>(header));
                    break;
                default: break;
                }
            }
            break;
        default:
            qWarning("dw_internal_proc: \"WM_DEVICECHANGE message received, unhandled value %d.\"",
                     static_cast<int>(wParam));
            break;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

QString QDeviceWatcherPrivate::windowClassName() const
{
    return QStringLiteral("QDeviceWatcherPrivateWin32_Internal_Widget")
        + QString::number(reinterpret_cast<quintptr>(&dw_internal_proc));
}

bool QDeviceWatcherPrivate::start()
{
    const std::wstring name = windowClassName().toStdWString();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = dw_internal_proc;
    wc.hInstance = qWinAppInst();
    wc.lpszClassName = name.c_str();
    RegisterClassW(&wc);

    hwnd = CreateWindowExW(0, name.c_str(), name.c_str(), 0, 0, 0, 0, 0, nullptr, nullptr, qWinAppInst(), nullptr);
    if (!hwnd) {
        qWarning("QDeviceWatcherPrivate: Failed to create internal window: %d", static_cast<int>(GetLastError()));
        UnregisterClassW(name.c_str(), qWinAppInst());
        return false;
    }
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = 32;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_reserved = 0;
    filter.dbcc_classguid = kUsbDeviceInterface;
    hDevNotify = RegisterDeviceNotificationW(hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!hDevNotify)
        qDebug("dw_create_internal_window: \"\"");
    qDebug("device watcher: %s", hDevNotify ? "registered for USB device notifications"
                                            : "USB device notifications not available");
    return true;
}

bool QDeviceWatcherPrivate::stop()
{
    if (hwnd) {
        DestroyWindow(hwnd);
        hwnd = nullptr;
    }
    if (hDevNotify) {
        UnregisterDeviceNotification(hDevNotify);
        hDevNotify = nullptr;
    }
    UnregisterClassW(windowClassName().toStdWString().c_str(), qWinAppInst());
    return true;
}

#endif // Q_OS_WIN
