#include "browser/photodecoder.h"

#include <QThread>
#include <QGlobalStatic>
#include <QThreadPool>

namespace browser {

namespace {
// The decoding threads (as many as the machine has cores), kept apart from
// the application's own pool.
Q_GLOBAL_STATIC(QThreadPool, decodingThreads)
} // namespace

QSharedPointer<PhotoDecoder> PhotoDecoder::create()
{
    // The last reference may be dropped on a worker thread: the decoder is
    // then deleted on its own thread, later.
    QSharedPointer<PhotoDecoder> decoder(new PhotoDecoder, [](PhotoDecoder *d) {
        if (d->m_pending == 0 && QThread::currentThread() == d->thread())
            delete d;
        else
            d->deleteLater();
    });
    decoder->m_self = decoder;
    return decoder;
}

void PhotoDecoder::decode(quint64 ticket, const QString &location, const QByteArray &data)
{
    ++m_pending;
    QSharedPointer<PhotoDecoder> self = m_self.toStrongRef();
    decodingThreads()->start([self, ticket, location, data] {
        const PhotoThumbnail made = makePhotoThumbnail(data);
        QMetaObject::invokeMethod(
            self.data(),
            [self, ticket, location, made] {
                --self->m_pending;
                if (self->done)
                    self->done(ticket, location, made);
            },
            Qt::QueuedConnection);
    });
}

} // namespace browser
