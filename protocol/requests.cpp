// Requests to the companion app. Each is written to the socket at once and
// flushed; nothing waits for the reply here.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>

#include <algorithm>

#include "protocol/messages.h"
#include "protocol/records.h"
#include "workflow/eraseplan.h"

// ----- requests without body -----

void MainWindow::getContact()
{
    qDebug() << "get contact request";
    m_etScanContact.restart();
    m_dataReadable[Contact] = false;
    writeRequest(proto::getRequest(proto::GetContact));
}

void MainWindow::getHistory()
{
    qDebug() << "get history request";
    m_etScanHistory.restart();
    m_dataReadable[History] = false;
    m_gotCount[History] = 0;
    writeRequest(proto::getRequest(proto::GetHistory));
}

void MainWindow::getMessage()
{
    qDebug() << "get message request";
    m_dataReadable[Message] = false;
    m_etScanMessage.restart();
    writeRequest(proto::getRequest(proto::GetMessage));
}

void MainWindow::getAudioDir()
{
    qDebug() << "get audio dir request";
    m_dataReadable[Audio] = false;
    m_etScanAudioDir.restart();
    writeRequest(proto::getRequest(proto::GetAudioDir));
}

void MainWindow::getVedioDir()
{
    qDebug() << "get vedio dir request";
    writeRequest(proto::getRequest(proto::GetVedioDir));
}

void MainWindow::getWhtatsAppDir()
{
    qDebug() << "get whatsapp dir request";
    writeRequest(proto::getRequest(proto::GetWhatsappDir));
}

void MainWindow::getFacebookDir()
{
    qDebug() << "get facebook dir request";
    writeRequest(proto::getRequest(proto::GetFacebookDir));
}

void MainWindow::getTwitterDir()
{
    qDebug() << "get twitter dir request";
    writeRequest(proto::getRequest(proto::GetTwitterDir));
}

void MainWindow::getSkypeDir()
{
    qDebug() << "get skype dir request";
    writeRequest(proto::getRequest(proto::GetSkypeDir));
}

void MainWindow::getKikMessengerDir()
{
    qDebug() << "get kik dir request";
    m_etScanKik.restart();
    writeRequest(proto::getRequest(proto::GetKikDir));
}

void MainWindow::getViberDir()
{
    qDebug() << "get viber dir request";
    writeRequest(proto::getRequest(proto::GetViberDir));
}

void MainWindow::sendCancelScan()
{
    qDebug() << "cancel scan request";
    writeRequest(proto::getRequest(proto::CancelScan));
}

void MainWindow::sendCancelErase()
{
    qDebug() << "cancel Erase request";
    writeRequest(proto::getRequest(proto::CancelErase));
}

void MainWindow::checkApkIsDefaultSMSApp()
{
    qDebug() << "check default sms app request";
    m_checkSmsAppReadable = false;
    m_isDefaultSmsApp = false;
    writeRequest(proto::getRequest(proto::CheckDefaultSmsApp));
}

void MainWindow::changeDefaultSMSApp()
{
    qDebug() << "change default sms app request";
    m_changeSmsAppReadable = false;
    writeRequest(proto::getRequest(proto::ChangeDefaultSmsApp));
}

void MainWindow::getMessageCount()
{
    qDebug() << "get messageCount request";
    m_messageCountReadable = false;
    m_messageCount = 0;
    m_gotCount[Message] = 0;
    writeRequest(proto::getRequest(proto::GetMessageCount));
}

void MainWindow::sendCloseProgram()
{
    qDebug() << "sent close program once";
    writeRequest(proto::getRequest(proto::CloseProgram));
}

void MainWindow::sendPrivateLeftTime()
{
    qDebug() << "send private leftTime request";
    writeRequest(proto::getRequest(proto::PrivateLeftTime));
}

void MainWindow::sendAllLeftTime()
{
    qDebug() << "send all leftTime request";
    writeRequest(proto::getRequest(proto::AllLeftTime));
}

void MainWindow::sendAppLeftTime()
{
    qDebug() << "send app leftTime request";
    writeRequest(proto::getRequest(proto::AppLeftTime));
}

void MainWindow::sendStopGetPhoto()
{
    qDebug() << "sent stop get photo once";
    m_stopGetPhotoBack = false;
    writeRequest(proto::getRequest(proto::StopGetPhoto));
}

void MainWindow::sendEraseBegin()
{
    writeRequest(proto::getRequest(proto::EraseBegin));
}

// ----- requests with body -----

void MainWindow::getPhotoDir()
{
    qDebug() << "get photo dir request";
    m_etScanPhotoDir.restart();
    m_dataReadable[Photo] = false;
    writeRequest(proto::photoDirRequest(m_photoCount));
}

void MainWindow::sendGetPhotoByName(const QString &location)
{
    qDebug() << "requested photoname:" << location;
    if (location.isEmpty())
        return;
    const QByteArray frame = proto::photoByNameRequest(location);
    if (frame.isEmpty()) {
        qDebug() << "photo location too long for a request:" << location.size();
        return;
    }
    writeRequest(frame);
    m_photoRequested.append(location);
}

// ----- erase -----

namespace {

// The keys a sender is about to send, in one line however many they are
// (a batch may hold hundreds of thousands): how many, the first and the last.
void logEraseKeys(const char *start, const QStringList &keys)
{
    if (keys.isEmpty())
        return;
    qDebug() << start << keys.size() << "keys, first:" << keys.first() << "last:" << keys.last();
}

} // namespace

bool MainWindow::eraseGuard(Category c) const
{
    return m_eraseSelected[c] && !m_eraseBack[c];
}

// One request per key, numbered 1..N with N as the batch size. A key that
// cannot go to the phone (empty, or too long for one frame) is left out
// before numbering, so the companion app sees a whole batch and answers it;
// the run's account names it as not sent, so it is never claimed erased.
// When nothing can be sent no answer will come, and the category is over at
// once. The batch is written in slices (sendOutgoing); each key counts as
// sent once its request is written to the socket.
void MainWindow::sendEraseItems(Category c, const QStringList &chosen)
{
    // Keys the companion app answered in an earlier run since the scan are
    // not sent again; the rest of the chosen keys make the batch, each once
    // (a file the phone listed twice is erased once). The run worked them
    // out, with their places in its account, when it began.
    QStringList keys;
    QVector<int> places;
    const RunKeys &run = m_eraseRunKeys[c];
    if (m_eraseAccount.isOpen() && run.run == m_eraseRunNumber && sameKeyList(run.chosen, chosen)) {
        keys = run.keys;
        places = run.places;
    } else {
        keys = workflow::eraseplan::keysNotAnswered(chosen, m_eraseAnsweredKeys[c]);
    }
    m_eraseBatchKeys[c] = keys;
    const auto unsendable = [](const QString &key) { return key.isEmpty() || key.size() > proto::MaxEraseKeyLength; };
    // The batch is the list itself (shared) unless some key cannot be sent.
    QStringList sendable = keys;
    QVector<int> sendablePlaces = places;
    const auto first = std::find_if(keys.cbegin(), keys.cend(), unsendable);
    if (first != keys.cend()) {
        const int from = int(first - keys.cbegin());
        sendable = keys.mid(0, from);
        sendablePlaces = places.mid(0, from);
        for (int i = from; i < keys.size(); ++i) {
            const QString &key = keys.at(i);
            if (unsendable(key)) {
                qDebug() << "erase key cannot be sent, left out:" << proto::categoryName(c) << "item" << i + 1
                         << "length" << key.size();
                m_eraseAccount.markUnsendable(c, key,
                    key.isEmpty()
                        ? QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "no location the phone gave can be read"))
                        : QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "too long for an erase request")));
                continue;
            }
            sendable << key;
            if (!places.isEmpty())
                sendablePlaces << places.at(i);
        }
    }
    if (sendable.isEmpty()) {
        markErased(c); // nothing could be sent: no reply will come
        return;
    }
    if (sendablePlaces.size() != sendable.size()) {
        // Keys of no run's account (a batch sent outside a run): they are
        // accounted for as they are sent.
        sendablePlaces.clear();
        sendablePlaces.reserve(sendable.size());
        for (const QString &key : qAsConst(sendable))
            sendablePlaces << m_eraseAccount.placeFor(c, key);
    }
    m_eraseAccount.beginBatch(c, int(sendable.size()));
    // The answer that comes next for the category may be the late answer of
    // a batch given up on: unless that batch asked for the same keys, its
    // counts then confirm nothing.
    if (m_eraseBatches.sent(c, m_eraseRunNumber, sendable)) {
        qDebug() << "erase batch in doubt: an earlier batch of" << proto::categoryName(c) << "was given up on";
        m_eraseAccount.markBatchInDoubt(c);
    }
    Outgoing batch;
    batch.category = c;
    batch.type = proto::eraseRequestType(c);
    batch.level = m_levelToErase;
    batch.keys = sendable;
    batch.places = sendablePlaces;
    m_outgoing.append(batch);
    sendOutgoing();
}

void MainWindow::sendEraseContact()
{
    m_etEraseContact.restart();
    qDebug() << "sure sent erase contact request";
    if (!eraseGuard(Contact))
        return;
    qDebug() << "m_contactToEraseList size:" << m_contactToEraseList.size();
    sendEraseItems(Contact, m_contactToEraseList);
}

void MainWindow::sendEraseAllContact()
{
    qDebug() << "sent erase allContact request";
    if (!eraseGuard(Contact))
        return;
    sendEraseItems(Contact, erasableIdsOf(Contact));
}

void MainWindow::sendEraseHistory()
{
    m_etEraseHistory.restart();
    qDebug() << "history to erase size:" << m_historyToEraseList.size();
    if (!eraseGuard(History))
        return;
    logEraseKeys("his id to erase:", m_historyToEraseList);
    sendEraseItems(History, m_historyToEraseList);
}

void MainWindow::sendEraseAllHistory()
{
    qDebug() << "sent erase allHistory request";
    if (!eraseGuard(History))
        return;
    sendEraseItems(History, erasableIdsOf(History));
}

void MainWindow::sendEraseMessage()
{
    m_etEraseMessage.restart();
    qDebug() << "sent erase message request";
    if (!eraseGuard(Message))
        return;
    logEraseKeys("erase message request,name:", m_messageToEraseList);
    sendEraseItems(Message, m_messageToEraseList);
}

void MainWindow::sendEraseAllMessage()
{
    qDebug() << "sent erase allMessage request";
    if (!eraseGuard(Message))
        return;
    sendEraseItems(Message, erasableIdsOf(Message));
}

void MainWindow::sendErasePhoto()
{
    m_etErasePhotoDir.restart();
    qDebug() << "sent erase photo request";
    if (!eraseGuard(Photo))
        return;
    sendEraseItems(Photo, m_photoToEraseList);
}

// An entry whose location cannot be read is never sent; when the category
// is erased, the run's account names it (by the entry as listed) as not sent.
QStringList MainWindow::erasableLocations(Category c, const QStringList &dir)
{
    QStringList locations;
    locations.reserve(dir.size());
    for (const QString &entry : dir) {
        const QString location = proto::entryLocation(entry);
        if (!location.isEmpty())
            locations << location;
        else if (eraseGuard(c))
            m_eraseAccount.markUnsendable(
                c, entry, QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "no location the phone gave can be read")));
    }
    return locations;
}

void MainWindow::sendEraseAllPhoto()
{
    qDebug() << "sent erase allPhoto request";
    m_photoToEraseList = erasableLocations(Photo, m_photoDir);
    sendErasePhoto();
}

void MainWindow::sendEraseAudio()
{
    m_etEraseAudioDir.restart();
    qDebug() << "erase audio request sent before";
    if (!eraseGuard(Audio))
        return;
    qDebug() << "sent erase audio request";
    logEraseKeys("to erase Audio:", m_audioToEraseList);
    sendEraseItems(Audio, m_audioToEraseList);
}

void MainWindow::sendEraseAllAudio()
{
    qDebug() << "sent erase allAudio request";
    m_audioToEraseList = erasableLocations(Audio, m_audioDir);
    sendEraseAudio();
}

void MainWindow::sendEraseVedio()
{
    qDebug() << "erase Vedio request sent before";
    if (!eraseGuard(Vedio))
        return;
    qDebug() << "sent erase vedio request";
    sendEraseItems(Vedio, m_vedioToEraseList);
}

void MainWindow::sendEraseAllVedio()
{
    qDebug() << "sent erase allVedio request";
    m_vedioToEraseList = erasableLocations(Vedio, m_vedioDir);
    sendEraseVedio();
}

void MainWindow::sendEraseAllWhatsapp()
{
    qDebug() << "sent erase allWhatsapp request";
    if (!eraseGuard(Whatsapp))
        return;
    sendEraseItems(Whatsapp, m_whatsappDir);
}

void MainWindow::sendEraseAllFacebook()
{
    qDebug() << "sent erase allFacebook request";
    if (!eraseGuard(Facebook))
        return;
    sendEraseItems(Facebook, m_facebookDir);
    qDebug() << "send erase facebook request end";
}

void MainWindow::sendEraseAllTwitter()
{
    qDebug() << "sent erase allTwitter request";
    if (!eraseGuard(Twitter))
        return;
    logEraseKeys("to sent erase twitter:", m_twitterDir);
    for (const QString &entry : qAsConst(m_twitterDir))
        if (entry.isEmpty())
            qDebug() << "got a empty";
    sendEraseItems(Twitter, m_twitterDir);
    qDebug() << "sent erase twitter dir times:" << m_twitterDir.size();
}

void MainWindow::sendEraseAllSkype()
{
    qDebug() << "sent erase allSkype request";
    if (!eraseGuard(Skype))
        return;
    sendEraseItems(Skype, m_skypeDir);
}

void MainWindow::sendEraseAllKik()
{
    m_etEraseKik.restart();
    qDebug() << "sent erase allKikMessenger request";
    if (!eraseGuard(Kik))
        return;
    sendEraseItems(Kik, m_kikmessengerDir);
}

void MainWindow::sendEraseAllViber()
{
    qDebug() << "sent erase allViber request";
    if (!eraseGuard(Viber))
        return;
    sendEraseItems(Viber, m_viberDir);
}
