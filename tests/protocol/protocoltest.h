#pragma once

// Helpers shared by the protocol suites.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "mainwindow.h"
#include "protocol/frame.h"
#include "ui_mainwindow.h" // for the window rig (AUTOUIC reads this header)
#include "support/windowrig.h"

using WindowCheck = std::function<void(MainWindow &)>;
Q_DECLARE_METATYPE(WindowCheck)

using ByteChunks = QList<QByteArray>;

// A window whose device link does not start by itself: the tests drive the
// protocol section directly.
using rig::quietWindow;

// A text-list frame as the companion app sends it.
inline QByteArray listFrame(quint16 type, const QString &piece, int sub, int all, int finished,
                            bool messageLayout = false)
{
    proto::FrameWriter w(type);
    w.string(piece).int16(qint16(sub)).int16(qint16(all));
    if (messageLayout)
        w.int16(0);
    w.int16(qint16(finished));
    return w.finish();
}
