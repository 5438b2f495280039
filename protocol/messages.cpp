#include "protocol/messages.h"

#include <QtEndian>

#include "protocol/frame.h"

namespace proto {

namespace {

const quint16 kGetRequest[CategoryCount] = {
    GetContact,     GetHistory,    GetMessage,  GetPhotoDir, GetAudioDir, GetVedioDir,
    GetFacebookDir, GetTwitterDir, GetSkypeDir, GetViberDir, GetKikDir,   GetWhatsappDir,
};

const quint16 kEraseRequest[CategoryCount] = {
    EraseContact,  EraseHistory, EraseMessage, ErasePhoto, EraseAudio, EraseVedio,
    EraseFacebook, EraseTwitter, EraseSkype,   EraseViber, EraseKik,   EraseWhatsapp,
};

// Get-failed replies: 70 Contact, 71 History, 72 Message, 73 Photo, 74 Audio,
// 75 Vedio, 76 Facebook, 77 Twitter, 78 Skype, 79 Viber, 80 Kik, 81 Whatsapp.
const quint16 kGetFail[CategoryCount] = {70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81};

const char *const kNames[CategoryCount] = {
    "contact", "history", "message", "photo", "audio", "vedio",
    "facebook", "twitter", "skype", "viber", "kik", "whatsapp",
};

Category find(const quint16 *table, quint16 typeId, int offset)
{
    for (int c = 0; c < CategoryCount; ++c) {
        if (table[c] + offset == typeId)
            return Category(c);
    }
    return CategoryCount;
}

} // namespace

quint16 getRequestType(Category c) { return kGetRequest[c]; }
quint16 listReplyType(Category c) { return quint16(kGetRequest[c] + 1); }
quint16 getFailReplyType(Category c) { return kGetFail[c]; }
quint16 eraseRequestType(Category c) { return kEraseRequest[c]; }

Category categoryOfListReply(quint16 typeId) { return find(kGetRequest, typeId, 1); }
Category categoryOfGetFailReply(quint16 typeId) { return find(kGetFail, typeId, 0); }
Category categoryOfEraseRequest(quint16 typeId) { return find(kEraseRequest, typeId, 0); }
Category categoryOfEraseBack(quint16 typeId) { return find(kEraseRequest, typeId, 1); }
Category categoryOfEraseFail(quint16 typeId) { return find(kEraseRequest, typeId, 2); }
Category categoryOfGetRequest(quint16 typeId) { return find(kGetRequest, typeId, 0); }

const char *categoryName(Category c)
{
    return (c >= 0 && c < CategoryCount) ? kNames[c] : "unknown";
}

QByteArray getRequest(quint16 typeId) { return emptyFrame(typeId); }

QByteArray photoDirRequest(quint16 photoCount)
{
    return FrameWriter(GetPhotoDir).uint16(photoCount).finish();
}

QByteArray photoByNameRequest(const QString &location)
{
    return FrameWriter(GetPhotoByName).string(location).finish();
}

QByteArray eraseRequest(quint16 typeId, const QString &key, quint16 level, quint32 sequence,
                        quint32 batchSize)
{
    if (key.size() > MaxEraseKeyLength)
        return QByteArray();
    // A null key would be written with the null marker; send it as empty text.
    const QString text = key.isNull() ? QStringLiteral("") : key;
    return FrameWriter(typeId).string(text).uint16(level).uint32(sequence).uint32(batchSize).finish();
}

bool appendEraseRequest(QByteArray &out, quint16 typeId, const QString &key, quint16 level, quint32 sequence,
                        quint32 batchSize)
{
    const int n = key.size();
    if (n > MaxEraseKeyLength)
        return false;
    const int at = out.size();
    out.resize(at + eraseRequestSize(n));
    uchar *p = reinterpret_cast<uchar *>(out.data()) + at;
    // Header, then the tagged fields: the key as QDataStream writes a
    // QString (its byte length, then UTF-16 big-endian), level, sequence
    // number, batch size.
    qToBigEndian<quint16>(typeId, p);
    qToBigEndian<quint16>(quint16(eraseRequestSize(n) - FrameHeaderSize), p + 2);
    qToBigEndian<quint16>(TagString, p + 4);
    qToBigEndian<quint32>(quint32(2 * n), p + 6);
    qToBigEndian<quint16>(key.utf16(), n, p + 10);
    p += 10 + 2 * n;
    qToBigEndian<quint16>(TagInt16, p);
    qToBigEndian<quint16>(level, p + 2);
    qToBigEndian<quint16>(TagInt32, p + 4);
    qToBigEndian<quint32>(sequence, p + 6);
    qToBigEndian<quint16>(TagInt32, p + 10);
    qToBigEndian<quint32>(batchSize, p + 12);
    return true;
}

} // namespace proto
