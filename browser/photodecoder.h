#pragma once

// Makes photo thumbnails on worker threads of its own, so that decoding a
// photo never holds up the window. A job gets a copy of
// the photo's bytes, decodes them with QImageReader (makePhotoThumbnail) and
// hands only the finished value (QImage pixels and JPEG bytes) back to the
// thread the decoder was made on, where `done` is called. Nothing else
// crosses threads. A decoder stays alive until its last job has reported,
// so a window that goes while photos are decoding loses only their results.

#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <functional>

#include "browser/photothumb.h"

namespace browser {

class PhotoDecoder : public QObject
{
public:
    static QSharedPointer<PhotoDecoder> create();

    // Called on the decoder's thread for every photo decoded, with what
    // decode() was given; set it to nullptr to drop the results still to come.
    std::function<void(quint64 ticket, const QString &location, const PhotoThumbnail &thumbnail)> done;

    void decode(quint64 ticket, const QString &location, const QByteArray &data);
    // Photos handed over and not yet reported.
    int pending() const { return m_pending; }

private:
    PhotoDecoder() = default;
    QWeakPointer<PhotoDecoder> m_self;
    int m_pending = 0;
};

} // namespace browser
