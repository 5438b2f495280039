#pragma once

// Type ids of the companion protocol and the requests built from them.
// A reply's type id is the request's plus 1; erase requests have a second,
// item-failed reply at plus 2.

#include <QByteArray>
#include <QString>

#include "protocol/categories.h"

namespace proto {

enum Request : quint16 {
    GetContact = 0,
    EraseContact = 2,
    GetHistory = 5,
    EraseHistory = 7,
    GetMessage = 10,
    EraseMessage = 12,
    GetPhotoDir = 15,
    GetPhotoByName = 17,
    ErasePhoto = 20,
    GetAudioDir = 23,
    EraseAudio = 27,
    GetVedioDir = 30,
    EraseVedio = 34,
    GetWhatsappDir = 37,
    EraseWhatsapp = 39,
    GetFacebookDir = 42,
    EraseFacebook = 44,
    GetTwitterDir = 47,
    EraseTwitter = 49,
    GetSkypeDir = 52,
    EraseSkype = 54,
    GetKikDir = 57,
    EraseKik = 59,
    GetViberDir = 62,
    EraseViber = 64,
    GetHomeInfo = 67,
    CancelScan = 83,
    CancelErase = 89,
    CheckDefaultSmsApp = 98,
    ChangeDefaultSmsApp = 100,
    GetMessageCount = 102,
    CloseProgram = 111,
    PrivateLeftTime = 114,
    AllLeftTime = 115,
    AppLeftTime = 117,
    StopGetPhoto = 119,
    EraseBegin = 128,
};

enum Reply : quint16 {
    ContactList = 1,
    HistoryList = 6,
    MessageList = 11,
    PhotoDirList = 16,
    PhotoImage = 18,
    PhotoFail = 19,
    HomeInfo = 68,
    HomeInfoFail = 69,
    ContactFail = 70, // 70..81: get failed, Contact .. Whatsapp (see getFailReply)
    CancelScanBack = 84,
    CancelEraseBack = 90,
    CheckDefaultSmsAppBack = 99,
    ChangeDefaultSmsAppBack = 101,
    MessageCountBack = 103,
    SureConnected = 105,
    AppInactive = 106,
    AppActive = 107,
    LeftTimeCurrentScope = 109,
    CloseProgramBack = 112,
    PrivateLeftTimeBack = 113,
    AllLeftTimeBack = 116,
    AppLeftTimeBack = 118,
    StopGetPhotoBack = 120,
    AppNotice121 = 121,
    NoAppGate = 122,
    PrivateLeftTimeGates = 123,
    DebugNumber = 124,
    AllLeftTimeGates = 125,
    NoAppData = 127,
};

// Per category: the get request, the list reply, the get-failed reply, the
// erase request, the erase-back and item-failed replies.
quint16 getRequestType(Category c);
quint16 listReplyType(Category c);
quint16 getFailReplyType(Category c);
quint16 eraseRequestType(Category c);
inline quint16 eraseBackReplyType(Category c) { return quint16(eraseRequestType(c) + 1); }
inline quint16 eraseFailReplyType(Category c) { return quint16(eraseRequestType(c) + 2); }

// Category of a list / get-failed / erase request / erase reply type id, or
// CategoryCount when the id is none of these.
Category categoryOfListReply(quint16 typeId);
Category categoryOfGetFailReply(quint16 typeId);
Category categoryOfEraseRequest(quint16 typeId);
Category categoryOfEraseBack(quint16 typeId);
Category categoryOfEraseFail(quint16 typeId);
Category categoryOfGetRequest(quint16 typeId);

const char *categoryName(Category c);

// Requests.
QByteArray getRequest(quint16 typeId); // no body, 4 bytes
QByteArray photoDirRequest(quint16 photoCount);
QByteArray photoByNameRequest(const QString &location);
// One item of an erase batch: key, level, 1-based sequence number, batch size.
// Empty when the key is too long for one frame.
QByteArray eraseRequest(quint16 typeId, const QString &key, quint16 level, quint32 sequence,
                        quint32 batchSize);
// Longest key (in UTF-16 code units) that fits one erase request.
constexpr int MaxEraseKeyLength = (0xFFFF - 22) / 2;
// Appends the bytes of eraseRequest(...) to `out`, written directly rather
// than through a stream (a batch may hold hundreds of thousands of them).
// Appends nothing and returns false when the key is too long for one frame.
bool appendEraseRequest(QByteArray &out, quint16 typeId, const QString &key, quint16 level, quint32 sequence,
                        quint32 batchSize);
// The size of that frame.
constexpr int eraseRequestSize(int keyLength) { return 26 + 2 * keyLength; }

} // namespace proto
