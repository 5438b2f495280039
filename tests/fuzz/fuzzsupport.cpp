#include "fuzztarget.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
    std::abort();
}

QList<QByteArray> chunks(const QByteArray &bytes, uint8_t split)
{
    QList<QByteArray> pieces;
    const int size = split == 0 ? qMax(1, bytes.size()) : 1 + (split - 1) * 16;
    for (int at = 0; at < bytes.size(); at += size)
        pieces << bytes.mid(at, size);
    return pieces;
}

void silenceLog()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

} // namespace fuzz
