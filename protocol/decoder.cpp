// The reply decoder: one frame at a time, by type id. It stores what it reads
// in the records and raises flags; the workflow and the browser poll them.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>

#include "app/widgetvisibility.h"
#include "protocol/frame.h"
#include "protocol/messages.h"
#include "protocol/records.h"
#include "workflow/eraseplan.h"

using proto::BodyReader;

namespace {

bool isImageFormat(const QString &f)
{
    static const QStringList known = {"bmp", "BMP", "jpg", "jpeg", "JPG", "JPEG", "png", "PNG"};
    return known.contains(f);
}

} // namespace

void MainWindow::markRead(Category c)
{
    m_dataReadable[c] = true;
    m_scanDone[c] = true;
    // A list of a pass that has ended is let go of as it comes, so that the
    // next list of its category is the scan's.
    if (c == m_verifyListing
        && m_eraseAccount.verification().status != workflow::EraseAccount::Verification::Status::Running)
        dropVerificationStore();
}

void MainWindow::markErased(Category c)
{
    m_eraseDone[c] = true;
    m_eraseBack[c] = true;
    m_eraseFinished[c] = true;
}

QStringList *MainWindow::directoryOf(Category c)
{
    // A list asked for by the verification after an erase goes to the pass's
    // own store: the scan's records and tables stay as they are. The phone
    // answers in the order it was asked, so a list the pass still waits for
    // is the pass's even when a scan has started meanwhile.
    if (c == m_verifyListing)
        return &m_verifyDir;
    switch (c) {
    case Photo: return &m_photoDir;
    case Audio: return &m_audioDir;
    case Vedio: return &m_vedioDir;
    case Facebook: return &m_facebookDir;
    case Twitter: return &m_twitterDir;
    case Skype: return &m_skypeDir;
    case Viber: return &m_viberDir;
    case Kik: return &m_kikmessengerDir;
    case Whatsapp: return &m_whatsappDir;
    default: return nullptr;
    }
}

proto::RecordMaps MainWindow::recordMapsOf(Category c)
{
    // Only contacts are found by name: the calls and messages a number
    // holds (half a million of them on a full phone) are not filed by name.
    if (c == m_verifyListing)
        return {&m_verifyIdData, nullptr, &m_verifyNumberId, &m_verifyAmbiguous};
    switch (c) {
    case History: return {&m_historyMapIdData, nullptr, &m_historyMapNumberId, &m_historyAmbiguous};
    case Message: return {&m_messageMapIdData, nullptr, &m_messageMapNumberId, &m_messageAmbiguous};
    default: return {&m_contactMapIdData, &m_contactMapNameId, &m_contactMapNumberId, &m_contactAmbiguous};
    }
}

const QHash<QString, QString> &MainWindow::ambiguousIdsOf(int category) const
{
    static const QHash<QString, QString> none;
    switch (category) {
    case Contact: return m_contactAmbiguous;
    case History: return m_historyAmbiguous;
    case Message: return m_messageAmbiguous;
    default: return none;
    }
}

QStringList MainWindow::erasableIdsOf(int category) const
{
    const proto::RecordStore &idData = category == Contact ? m_contactMapIdData
                                           : category == History ? m_historyMapIdData
                                                                 : m_messageMapIdData;
    const QHash<QString, QString> &ambiguous = ambiguousIdsOf(category);
    if (ambiguous.isEmpty())
        return idData.keys();
    QStringList ids;
    ids.reserve(idData.size());
    for (auto it = idData.constBegin(); it != idData.constEnd(); ++it)
        if (!ambiguous.contains(it.key()))
            ids << it.key();
    return ids;
}

void MainWindow::markListIncomplete(Category c, const char *why)
{
    if (!m_listIncomplete[c])
        qDebug() << "list incomplete:" << proto::categoryName(c) << why << "stored:" << m_listStoredRecords[c];
    m_listIncomplete[c] = true;
}

void MainWindow::clearScanAccumulators(int first, int last)
{
    for (int c = qMax(0, first); c < qMin(int(CategoryCount), last); ++c) {
        m_chunkText[c].clear();
        m_chunkText[c].squeeze();
        m_chunkOverflow[c] = false;
        m_listIncomplete[c] = false;
        m_listStopped[c] = false;
        m_listStoredRecords[c] = 0;
        m_listStoredChars[c] = 0;
    }
    resetPhotoAccumulator();
}

void MainWindow::storeListRecord(Category c, QStringView record)
{
    ++m_gotCount[c];
    if (m_listStoredRecords[c] >= m_maxListRecords || m_listStoredChars[c] + record.size() > m_maxListChars) {
        m_listStopped[c] = true;
        markListIncomplete(c, "beyond the bound of a scan");
        return;
    }
    ++m_listStoredRecords[c];
    m_listStoredChars[c] += record.size();
    if (c <= Message) {
        // A record of the verification list without an id may be any item.
        if (!proto::addTextRecord(record, recordMapsOf(c)) && c == m_verifyListing)
            ++m_verifyUnreadable;
        return;
    }
    directoryOf(c)->append(record.toString());
    if (c >= FirstAppCategory)
        m_appDirFound[c - FirstAppCategory] = true;
}

// Takes one piece of a list: every record whose separator has arrived is
// stored at once, only the unfinished one waits in the accumulator. Once a
// bound is reached the rest of the category's list is passed over, so a peer
// that never ends its list cannot exhaust memory; the stream stays in step
// because every frame is consumed by its header length anyway.
void MainWindow::appendListPiece(Category c, const QString &piece, bool stretchEnds)
{
    if (m_listStopped[c]) {
        m_chunkText[c].clear();
        return;
    }
    const bool whole = proto::takeRecords(m_chunkText[c], m_chunkOverflow[c], piece, stretchEnds, m_maxRecordChars,
                                          [this, c](QStringView record) {
                                              if (!m_listStopped[c])
                                                  storeListRecord(c, record);
                                          });
    if (!whole)
        markListIncomplete(c, "a record too long");
    if (m_listStopped[c]) {
        m_chunkText[c].clear();
        m_chunkText[c].squeeze();
    }
}

void MainWindow::decodeTextList(Category c, BodyReader &r)
{
    // The history log shows each field with the tag sent before it.
    const QString piece = r.string();
    const quint16 pieceTag = r.lastTag();
    const int subCount = r.int16();
    const quint16 subCountTag = r.lastTag();
    const int allCount = r.int16();
    const quint16 allCountTag = r.lastTag();
    if (c == Message)
        r.int16(); // not used
    const int finished = r.int16();
    const quint16 finishedTag = r.lastTag();

    if (c == History) {
        qDebug() << "history strlen:" << pieceTag;
        qDebug() << "history backStr:" << piece;
        qDebug() << "history subCountSize:" << subCountTag;
        qDebug() << "history subCount:" << subCount;
        qDebug() << "history allCountSize:" << allCountTag;
        qDebug() << "history allCount:" << allCount;
        qDebug() << "history entireCountSize:" << finishedTag;
        qDebug() << "history finished:" << finished;
    }

    const bool complete = subCount == allCount;
    appendListPiece(c, piece, complete);
    if (!complete)
        return;

    if (c == Message)
        qDebug() << "got message count:" << m_gotCount[c] << "id count:" << m_messageMapIdData.size();
    if (finished != 1)
        return;
    if (c == Message) {
        qDebug() << "after got all message";
        markRead(c);
        return;
    }
    qDebug() << (c == Contact ? "got all contact,contact got count:" : "got all history,history got count:")
             << m_gotCount[c] << "finished:" << finished;
    markRead(c);
    m_gotCount[c] = 0;
}

void MainWindow::decodeDirectory(Category c, BodyReader &r)
{
    const QString piece = r.string();
    int subCount;
    int allCount;
    int finished;
    if (c == Whatsapp || c == Skype || c == Kik || c == Viber) {
        subCount = r.uint16();
        allCount = r.uint16();
        finished = r.uint16();
    } else {
        subCount = r.int16();
        allCount = r.int16();
        finished = r.int16();
    }

    const bool complete = subCount == allCount;
    appendListPiece(c, piece, complete);
    if (!complete || finished != 1)
        return;

    switch (c) {
    case Photo: qDebug() << "got all photo dir"; break;
    case Audio: qDebug() << "get all audio dir"; break;
    case Vedio: qDebug() << "got all vedio dir"; break;
    case Whatsapp: qDebug() << "got all whatsapp back"; break;
    case Twitter: qDebug() << "got twitter dir count:" << m_gotCount[c]; break;
    case Skype: qDebug() << "got skype dir count:" << m_gotCount[c]; break;
    case Viber: qDebug() << "got all viber back"; break;
    default: break;
    }
    markRead(c);
    m_gotCount[c] = 0;
}

void MainWindow::resetPhotoAccumulator()
{
    m_photoData.clear();
    m_photoDataName.clear();
    m_photoDataNextChunk = -1;
    m_photoOverflow = false;
}

QString MainWindow::takeRequestedPhoto(const QString &name)
{
    for (int i = 0; i < m_photoRequested.size(); ++i) {
        const QString &location = m_photoRequested.at(i);
        if (location == name || (location.endsWith(name) && location.size() > name.size()
                                 && location.at(location.size() - name.size() - 1) == QLatin1Char('/'))) {
            if (i > 0)
                qDebug() << "photo requests not answered:" << m_photoRequested.mid(0, i);
            const QString found = location;
            m_photoRequested.erase(m_photoRequested.begin(), m_photoRequested.begin() + i + 1);
            return found;
        }
    }
    qDebug() << "photo not asked for:" << name;
    return QString();
}

void MainWindow::decodePhoto(BodyReader &r)
{
    qDebug() << "get photo done";
    const QString name = r.string();
    const QByteArray chunk = r.bytes();
    qDebug() << "get photo done,after 0";
    const QString format = r.string();
    const int index = r.int16();
    qDebug() << "get photo done,after 3";
    const int count = r.int16();
    qDebug() << "get photo done,after 4";

    // A photo's first chunk, or a chunk of another photo, starts afresh: what
    // is left of a photo cut off never spoils the next one.
    if (index == 0 || name != m_photoDataName) {
        resetPhotoAccumulator();
        m_photoDataName = name;
        m_photoDataNextChunk = 0;
    }
    photoChunkArrived();
    if (index != m_photoDataNextChunk) {
        // A chunk went missing: the photo cannot be put together, its
        // remaining chunks are passed over.
        if (m_photoDataNextChunk >= 0)
            qDebug() << "photo chunk missing, dropped:" << name << "chunk" << index;
        m_photoDataNextChunk = -1;
        m_photoData.clear();
    } else {
        ++m_photoDataNextChunk;
        if (!m_photoOverflow && qint64(m_photoData.size()) + chunk.size() > m_maxAccumulatorBytes) {
            qDebug() << "photo too large, dropped:" << name << m_photoData.size() + chunk.size() << "bytes";
            m_photoOverflow = true;
            m_photoData.clear();
            m_photoData.squeeze();
        }
        if (!m_photoOverflow)
            m_photoData.append(chunk);
    }
    qDebug() << "get photo done,after" << index << count;
    if (count != index + 1)
        return;

    // The reply has ended.
    const QString location = takeRequestedPhoto(name);
    const bool whole = m_photoDataNextChunk == count && !m_photoOverflow;
    const QByteArray data = m_photoData;
    resetPhotoAccumulator();
    photoReplyEnded(); // the companion app is free for the next photo
    if (!whole)
        return;
    if (isImageFormat(format)) {
        storePhotoThumbnail(location, data);
        if (format == QLatin1String("png") || format == QLatin1String("PNG"))
            qDebug() << "png,m_photoMapNameImage.size:" << m_photoThumbs.size();
        else
            qDebug() << "m_photoMapNameImage.size:" << m_photoThumbs.size();
    }
    m_photoGotList.append(name + QLatin1Char(';') + format + QLatin1Char(','));
}

// An erase answer belongs to the category's open batch, or to the batch a
// cancel gave up on last (the companion app answers in order). It counts for
// the run that sent the batch while that run's account is the one kept:
// the run in progress, or, for a given-up batch, the cancelled run (whose
// record is then written again, so the file says what the account does).
bool MainWindow::takeEraseAnswer(Category c, const std::function<void()> &apply)
{
    const workflow::EraseBatches::Batch b = m_eraseBatches.answerOwner(c);
    if (!b.known || b.run != m_eraseRunNumber) {
        qDebug() << "erase answer of no batch of the last run, not counted:" << proto::categoryName(c);
        return false;
    }
    if (b.givenUp && m_eraseAccount.isOpen()) {
        qDebug() << "erase answer of a batch given up on, not counted:" << proto::categoryName(c);
        return false;
    }
    if (!m_eraseAccount.isBegun())
        return true; // a batch sent outside a run: nothing to account for
    apply();
    if (!m_eraseAccount.isOpen()) {
        // The run has ended and its record is written: it is written again.
        qDebug() << "late erase answer of an ended run:" << proto::categoryName(c);
        writeEraseRecord();
        fillEraseReport();
    }
    return true;
}

void MainWindow::decodeEraseBack(Category c, BodyReader &r)
{
    if (c == History)
        qDebug() << "erase history done";
    const quint32 done = r.uint32();
    const quint32 failed = r.uint32();
    switch (c) {
    case Contact: qDebug() << "erase contact back"; break;
    case History: qDebug() << "erase his back"; break;
    case Message: qDebug() << "erase mes back"; break;
    case Photo: qDebug() << "erase photo back,result:" << "done cout:" << done << "fail count:" << failed; break;
    case Audio: qDebug() << "erase audio back" << "done cout:" << done << "fail count:" << failed; break;
    case Vedio: qDebug() << "erase vedio back"; break;
    case Whatsapp: qDebug() << "erase whatsapp back done"; break;
    case Facebook: qDebug() << "erase facebook back done"; break;
    case Twitter:
        qDebug() << "erase twitter back done,done count:" << done << "fail count:" << failed;
        break;
    case Skype:
        qDebug() << "erase skype back done,done count:" << done << "fail count:" << failed;
        break;
    case Kik: qDebug() << "erase kik back done"; break;
    case Viber: qDebug() << "erase viber back done"; break;
    default: break;
    }
    const bool ofThisScan = m_eraseAccountScan == m_scansStarted;
    const bool taken = takeEraseAnswer(c, [&] { m_eraseAccount.noteAnswer(c, done, failed); });
    m_eraseBatches.answered(c);
    if (!taken || !ofThisScan)
        return;
    if (m_eraseAccount.isBegun() && !m_eraseAccount.isOpen()) {
        lateBatchAnswered(c);
        return;
    }
    m_eraseBackFailCount[c] = failed;
    markErased(c);
}

// A batch of a run that has ended is answered: its keys are not sent again,
// but the category is not closed, so a run that starts now still sends what
// else the user has chosen of it.
void MainWindow::lateBatchAnswered(Category c)
{
    for (const QString &key : qAsConst(m_eraseBatchKeys[c]))
        m_eraseAnsweredKeys[c].insert(key);
    m_eraseBatchKeys[c].clear();
}

void MainWindow::decodeEraseFail(Category c, BodyReader &r)
{
    // The key names the item for the erase record (a reply without one, as
    // the message reply may be, counts as a failure of some item).
    const QString key = r.string();
    r.uint16();
    const bool ofThisScan = m_eraseAccountScan == m_scansStarted;
    const bool taken = takeEraseAnswer(c, [&] { m_eraseAccount.noteItemFailed(c, key); });
    // Every request of the batch failed: the batch is over all the same.
    const bool batchOver = m_eraseBatches.itemFailed(c);
    if (!taken || !ofThisScan)
        return;
    if (m_eraseAccount.isBegun() && !m_eraseAccount.isOpen()) {
        if (batchOver)
            lateBatchAnswered(c);
        return;
    }
    ++m_eraseFailCount[c];
    if (!batchOver)
        return;
    markErased(c);
    static const char *const lines[CategoryCount] = {
        "erase contact fail ", "erase his error", "erase mes err", "erase photo err",
        "erase audio err", "erase vedi err", "erase facebook back error", "erase twitter back err",
        "erase skype back fail", "erase viber back fail", "erase kik back fail", "erase whatsapp back err",
    };
    qDebug() << lines[c];
}

// Each family of replies takes the ids it knows and says whether it did.
// The contact, call and message lists are the scan's text lists, asked
// before the per-category family would take them for directory lists.
void MainWindow::decodeReply(quint16 typeId, BodyReader &r)
{
    const bool known = typeId >= 1 && typeId <= 127
                       && (decodeScanReply(typeId, r) || decodePhoneReply(typeId, r) || decodeAppReply(typeId, r)
                           || decodeCategoryReply(typeId, r));
    if (!known)
        qDebug() << "received wrong type in default";
}

bool MainWindow::decodeScanReply(quint16 typeId, BodyReader &r)
{
    using namespace proto;
    switch (typeId) {
    case ContactList:
    case HistoryList:
    case MessageList:
        decodeTextList(categoryOfListReply(typeId), r);
        return true;
    case PhotoImage:
        decodePhoto(r);
        return true;
    case PhotoFail:
        qDebug() << "got photo fail";
        // the answer to the oldest photo request
        if (!m_photoRequested.isEmpty())
            m_photoRequested.removeFirst();
        photoReplyEnded();
        return true;
    case StopGetPhotoBack:
        if (m_timerGetPhotoByTime)
            m_timerGetPhotoByTime->stop();
        if (m_timerUpdateTablePhoto)
            m_timerUpdateTablePhoto->stop();
        m_stopGetPhotoBack = true;
        qDebug() << "stop get photo done";
        return true;
    case LeftTimeCurrentScope:
        qDebug() << "in got receive,get left time done";
        decodeLeftTimeOfScope(r);
        return true;
    case PrivateLeftTimeBack:
    case PrivateLeftTimeGates:
    case AllLeftTimeBack:
    case AllLeftTimeGates:
    case AppLeftTimeBack:
    case NoAppData:
        decodeLeftTime(typeId, r);
        return true;
    case NoAppGate:
        m_sdkGate[3] = false;
        return true;
    default:
        return false;
    }
}

bool MainWindow::decodePhoneReply(quint16 typeId, BodyReader &r)
{
    using namespace proto;
    switch (typeId) {
    case HomeInfo: {
        const QString info = r.string();
        const QStringList fields = splitHomeInfo(info);
        // A reply that repeats what the phone page shows changes nothing.
        if (!m_homeInfoShown || fields != m_homeInfoList) {
            m_homeInfoList = fields;
            updateHomeInfo();
        }
        m_homeInfoReadable = true;
        qDebug() << "got home info done:" << info;
        qDebug() << "get homeinfo done";
        return true;
    }
    case HomeInfoFail:
        if (!m_homeInfoShown)
            updateHomeInfo();
        m_homeInfoReadable = false;
        qDebug() << "get homeinfo fail";
        return true;
    case CheckDefaultSmsAppBack:
        if (r.int16() == 1)
            m_isDefaultSmsApp = true;
        m_checkSmsAppReadable = true;
        qDebug() << "get check default SMS App Data done";
        return true;
    case ChangeDefaultSmsAppBack:
        if (r.int16() == 1)
            m_changeSmsAppOk = true;
        m_changeSmsAppReadable = true;
        qDebug() << "get change default SMS App Data done";
        return true;
    case MessageCountBack: {
        const QString text = r.string();
        qDebug() << "got msg countStr:" << text;
        bool ok = false;
        const int n = text.toInt(&ok, 10);
        m_messageCount = ok ? quint16(n) : 0;
        m_messageCountReadable = true;
        qDebug() << "get message count done";
        return true;
    }
    default:
        return false;
    }
}

bool MainWindow::decodeAppReply(quint16 typeId, BodyReader &r)
{
    using namespace proto;
    switch (typeId) {
    case 26:
    case 33:
    case AppNotice121:
        return true; // not used, ignored without log
    case SureConnected:
        qDebug() << "in got receive,get sure connected done,start get home info";
        return true;
    case AppInactive:
        qDebug() << "in got receive,get App Inactive done";
        appInactive();
        return true;
    case AppActive:
        qDebug() << "in got receive,get App Active done";
        appActive();
        return true;
    case CancelScanBack:
        m_cancelScanBack = true;
        qDebug() << "cancel scan done";
        return true;
    case CancelEraseBack:
        m_cancelEraseBack = true;
        qDebug() << "cancel erase done";
        return true;
    case CloseProgramBack:
        closeProgram();
        return true;
    case DebugNumber: {
        const quint16 n = r.uint16();
        qDebug() << "debug nmuber:" << n;
        appendHiddenTrace(ui->label_test_debug, QString::number(n) + QStringLiteral(",\n"));
        return true;
    }
    default:
        return false;
    }
}

bool MainWindow::decodeCategoryReply(quint16 typeId, BodyReader &r)
{
    using namespace proto;
    Category c = categoryOfListReply(typeId);
    if (c != CategoryCount) {
        decodeDirectory(c, r);
        return true;
    }
    c = categoryOfEraseBack(typeId);
    if (c != CategoryCount) {
        decodeEraseBack(c, r);
        return true;
    }
    c = categoryOfEraseFail(typeId);
    if (c != CategoryCount) {
        decodeEraseFail(c, r);
        return true;
    }
    c = categoryOfGetFailReply(typeId);
    if (c == CategoryCount)
        return false;
    static const char *const lines[] = {"get contact fail", "get his fail", "get message fail", "get phodir fail"};
    if (c <= Photo)
        qDebug() << lines[c];
    if (c == History)
        appendHiddenTrace(ui->testLabel_4, QStringLiteral("gCFail\n"));
    m_listFailed[c] = true;
    if (c != m_verifyListing)
        m_listNotRead[c] = workflow::eraseplan::listRefusedReason();
    markRead(c);
    return true;
}

void MainWindow::appInactive()
{
    m_appState = AppStateType::NotActive;
    pauseCountdownForBackground();
    if (m_rebootDone) {
        ui->T_AppState_TopTitle->setText(tr("App InActive "));
        app::hideWidget(ui->T_AppState);
    } else {
        ui->T_AppState_TopTitle->setText(tr("App InActive"));
        app::showWidget(ui->T_AppState);
    }
    if (m_stepTimer[StepTestCheckAppQuited])
        m_stepTimer[StepTestCheckAppQuited]->start(1000);
}

void MainWindow::appActive()
{
    m_appState = AppStateType::Active;
    resumeCountdownForForeground();
    ui->T_AppState_TopTitle->setText(tr("App Active"));
    app::hideWidget(ui->T_AppState);
    if (m_stepTimer[StepTestCheckAppQuited])
        m_stepTimer[StepTestCheckAppQuited]->stop();
}
