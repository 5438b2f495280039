// Writes the seed corpus of the protocol fuzz targets: the bytes the
// companion-app simulator sends for each request of the program, recorded off
// a real TCP connection. receive/ seeds carry the scope byte and the chunking
// byte in front, codec/ seeds the chunking byte.
//
//   build/tests/fuzz/fuzz_makecorpus tests/fuzz/corpus

#include "companionsimulator.h"
#include "protocol/messages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>

namespace {

// Waits until the connection has been quiet for a while and returns what came.
QByteArray answer(QTcpSocket &socket, const QByteArray &request)
{
    if (!request.isEmpty()) {
        socket.write(request);
        socket.flush();
    }
    QByteArray got;
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < 300) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        const QByteArray more = socket.readAll();
        if (!more.isEmpty()) {
            got += more;
            quiet.restart();
        }
    }
    return got;
}

bool writeSeed(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_makecorpus CORPUS-FOLDER\n");
        return 2;
    }
    const QDir root(QFile::decodeName(argv[1]));
    root.mkpath(QStringLiteral("receive"));
    root.mkpath(QStringLiteral("codec"));

    // A small phone, lists in several pieces, photos in several frames.
    CompanionSimulator sim(SimDataSet::generate(4));
    sim.setListPieceChars(400);
    sim.setPhotoChunkBytes(2048);
    sim.setUnerasableKeys({QStringLiteral("c2")});
    if (!sim.listen())
        return 1;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, sim.port());
    if (!socket.waitForConnected(5000))
        return 1;

    enum Scope : char { All = 0, Private = 1, App = 2 };
    struct Seed
    {
        const char *name;
        Scope scope;
        QByteArray request;
    };
    // Erase begin and close have no answer.
    const QString photo = sim.data().lists[Photo].value(0).section(QLatin1Char(';'), 3);
    QList<Seed> seeds = {
        {"homeinfo", All, proto::getRequest(proto::GetHomeInfo)},
        {"lefttime-private", Private, proto::getRequest(proto::PrivateLeftTime)},
        {"lefttime-all", All, proto::getRequest(proto::AllLeftTime)},
        {"lefttime-app", App, proto::getRequest(proto::AppLeftTime)},
        {"message-count", Private, proto::getRequest(proto::GetMessageCount)},
        {"check-sms-app", Private, proto::getRequest(proto::CheckDefaultSmsApp)},
        {"change-sms-app", Private, proto::getRequest(proto::ChangeDefaultSmsApp)},
        {"photo-image", Private, proto::photoByNameRequest(photo)},
        {"stop-photo", Private, proto::getRequest(proto::StopGetPhoto)},
        {"cancel-scan", Private, proto::getRequest(proto::CancelScan)},
        {"erase-contacts", Private,
         proto::eraseRequest(proto::EraseContact, QStringLiteral("c1"), 3, 1, 2)
             + proto::eraseRequest(proto::EraseContact, QStringLiteral("c2"), 3, 2, 2)},
        {"cancel-erase", Private, proto::getRequest(proto::CancelErase)},
    };
    for (int c = 0; c < CategoryCount; ++c) {
        const quint16 type = proto::getRequestType(Category(c));
        const QByteArray request = c == Photo ? proto::photoDirRequest(quint16(sim.data().lists[Photo].size()))
                                              : proto::getRequest(type);
        seeds.append({proto::categoryName(Category(c)), c < FirstAppCategory ? Private : App, request});
    }

    int written = 0;
    for (const Seed &seed : qAsConst(seeds)) {
        const QByteArray bytes = answer(socket, seed.request);
        if (bytes.isEmpty()) {
            std::fprintf(stderr, "no answer: %s\n", seed.name);
            continue;
        }
        const QString name = QString::fromLatin1(seed.name).toLower();
        // Whole, and cut into 33-byte chunks.
        written += writeSeed(root.filePath(QStringLiteral("receive/") + name),
                             QByteArray(1, seed.scope) + QByteArray(1, '\0') + bytes);
        written += writeSeed(root.filePath(QStringLiteral("receive/") + name + QStringLiteral("-chunked")),
                             QByteArray(1, seed.scope) + QByteArray(1, '\3') + bytes);
        written += writeSeed(root.filePath(QStringLiteral("codec/") + name), QByteArray(1, '\3') + bytes);
    }
    // The app's own reports: to the background and back.
    sim.sendAppInactive();
    sim.sendAppActive();
    const QByteArray appState = answer(socket, QByteArray());
    written += writeSeed(root.filePath(QStringLiteral("receive/app-state")),
                         QByteArray(1, Private) + QByteArray(1, '\0') + appState);
    written += writeSeed(root.filePath(QStringLiteral("codec/app-state")), QByteArray(1, '\0') + appState);
    std::printf("%d seeds written\n", written);
    return 0;
}
