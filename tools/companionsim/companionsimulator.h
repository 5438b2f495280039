#pragma once

// A stand-in for the companion app on the phone: listens on 127.0.0.1,
// answers the desktop program's requests from a generated data set, erases
// what it is asked to, and can be scripted to misbehave.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSet>
#include <QString>

#include "protocol/categories.h"
#include "protocol/frame.h"
#include "simdataset.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

class CompanionSimulator : public QObject
{
    Q_OBJECT

public:
    struct EraseRecord
    {
        quint16 typeId = 0;
        Category category = CategoryCount;
        QString key;
        quint16 level = 0;
        quint32 sequence = 0;
        quint32 batchSize = 0;
    };

    // A batch the simulator has erased, what it answered for it, and whether
    // that answer was sent.
    struct AnsweredBatch
    {
        Category category = CategoryCount;
        QStringList keys;        // in the order they were asked for
        QStringList reportedErased; // erased, or kept while reported erased
        QStringList failed;
        bool delivered = false;  // the answer was written to the connection
        bool dropped = false;    // a cancel dropped it
    };

    // What becomes of answers held back when the erase is cancelled.
    enum class HeldOnCancel {
        Drop,           // never sent: only the cancel is answered
        AnswerAfterAck, // sent right after the cancel's acknowledgement
        Keep,           // kept until the hold is cleared
    };

    // How answer frames go onto the connection.
    enum class WriteMode {
        PerFrame,  // one write per frame
        Coalesced, // every frame produced by one batch of received data in one write
        Split,     // each frame cut (inside the header and the body) into pieces
                   // written one by one, a few milliseconds apart
    };

    explicit CompanionSimulator(QObject *parent = nullptr);
    explicit CompanionSimulator(const SimDataSet &data, QObject *parent = nullptr);
    ~CompanionSimulator() override;

    // Listens on 127.0.0.1; port 0 picks a free port.
    bool listen(quint16 port = 0);
    quint16 port() const;
    // Stops accepting connections (the phone's app is gone); the current
    // connection, if any, is dropped.
    void stopListening();
    bool hasClient() const;

    SimDataSet &data() { return m_data; }

    // ----- script -----
    void setSdkLevel(int level);             // rewrites home-info field 3
    void setGates(bool g0, bool g1, bool g2, bool g3);
    void setDefaultSmsApp(bool isDefault) { m_isDefaultSms = isDefault; }
    void setChangeSmsAnswer(int result) { m_changeSmsResult = result; } // 1 = changed
    void setFailCategory(Category c, bool fail); // get and erase of c fail
    // The list of c is answered with its failure reply (erasing still works).
    void setListRefused(Category c, bool refused);
    void setHomeInfoFails(bool fail) { m_homeInfoFails = fail; }
    void setPhotoFails(bool fail) { m_photoFails = fail; }
    void setUnerasableKeys(const QSet<QString> &keys) { m_unerasable = keys; }
    // Keys the phone reports erased but keeps (and goes on listing).
    void setKeptKeys(const QSet<QString> &keys) { m_kept = keys; }
    // Keys the phone reports erased but lists again in another form: the
    // entry text it lists instead (another case, no location, ...).
    void setRelisted(const QHash<QString, QString> &entryOfKey) { m_relisted = entryOfKey; }
    // A phone whose answers contradict themselves: an item it fails is
    // answered by an item-failed reply that names no key, and the batch's
    // final answer counts every item as done besides counting the failures.
    void setContradictoryFailures(bool on) { m_contradictory = on; }
    // The phone connected next is another one: its data (home info with its
    // serial number among it) replaces this phone's when the next
    // connection comes.
    void swapPhoneOnNextConnection(const SimDataSet &other);
    void setSilent(bool silent) { m_silent = silent; }         // read, never answer
    // The phone erases each batch but holds its answer back, as one still
    // finishing it; a cancel of the erase drops the held answers (only the
    // cancel is answered). Clearing the option sends what is held.
    void setHoldEraseAnswers(bool hold);
    int heldEraseAnswers() const { return m_held.size(); }
    void setHeldOnCancel(HeldOnCancel mode) { m_heldOnCancel = mode; }
    void setHttpMode(bool http) { m_http = http; }              // answer like a web server
    void setDropOnRequest(int typeId) { m_dropOnRequest = typeId; } // -1: never
    void setWriteMode(WriteMode mode);
    void setListPieceChars(int chars);       // text per list frame (<= 32000)
    void setPhotoChunkBytes(int bytes);      // image bytes per photo frame
    // A hostile phone: the list of c never ends. Every few milliseconds a
    // further stretch of `recordsPerStretch` new records is sent (its piece
    // number equal to the count, never the final flag) until the connection
    // ends or the option is cleared with CategoryCount.
    void setEndlessList(Category c, int recordsPerStretch = 1000);
    int endlessRecordsSent() const { return m_endlessSent; }

    // Unsolicited frames and events.
    void sendAppInactive();                  // 106: app went to the background
    void sendAppActive();                    // 107: back in the foreground
    void sendFrame(const QByteArray &frame); // any frame, through the write mode
    void sendRaw(const QByteArray &bytes);   // bytes as they are, one write
    void dropConnection();                   // abort the current connection

    // ----- what was received -----
    QList<quint16> receivedTypes() const { return m_receivedTypes; }
    QList<QByteArray> receivedFrames() const { return m_receivedFrames; }
    QList<EraseRecord> eraseRequests() const { return m_eraseRequests; }
    QList<AnsweredBatch> answeredBatches() const { return m_answered; }
    int count(quint16 typeId) const { return m_receivedTypes.count(typeId); }
    void clearReceived();

    // Frames the simulator sends for a list (also used by benchmarks).
    static QList<QByteArray> listFrames(Category c, const QString &text, int pieceChars = 30000);
    static QList<QByteArray> photoFrames(const QString &name, const QByteArray &data,
                                         const QString &format, int chunkBytes);

signals:
    void clientConnected();
    void clientDisconnected();
    void requestReceived(quint16 typeId);
    void eraseRequested(const CompanionSimulator::EraseRecord &record);
    // A whole batch has been answered (done and failed counts).
    void eraseBatchAnswered(Category category, int done, int failed);

private:
    void onNewConnection();
    void onReadyRead();
    void handleFrame(quint16 typeId, const char *body, int length);
    void handleErase(Category c, quint16 typeId, const char *body, int length);
    void answerList(Category c);
    void answerPhoto(const QString &location);
    void answerLeftTime(quint16 requestType);
    void queue(const QByteArray &frame);
    void flushPending();
    void writeNextPiece();
    QByteArray countsBody(quint16 typeId, bool withGates, int first, int n) const;
    void sendEndlessStretch();
    void releaseHeld();
    void dropHeld();

    QTcpServer *m_server = nullptr;
    QPointer<QTcpSocket> m_client;
    proto::FrameAssembler m_assembler;
    SimDataSet m_data;

    bool m_gates[4] = {true, true, true, true};
    bool m_isDefaultSms = false;
    int m_changeSmsResult = 1;
    bool m_failCategory[CategoryCount] = {};
    bool m_homeInfoFails = false;
    bool m_photoFails = false;
    QSet<QString> m_unerasable;
    QSet<QString> m_kept;
    QHash<QString, QString> m_relisted;
    bool m_contradictory = false;
    bool m_listRefused[CategoryCount] = {};
    bool m_swapPending = false;
    SimDataSet m_nextPhone;
    HeldOnCancel m_heldOnCancel = HeldOnCancel::Drop;
    QList<int> m_heldBatches; // indices into m_answered of the held answers
    bool m_silent = false;
    bool m_holdAnswers = false;
    QList<QByteArray> m_held; // erase answers held back
    bool m_http = false;
    int m_dropOnRequest = -1;
    WriteMode m_writeMode = WriteMode::PerFrame;
    int m_listPieceChars = 30000;
    int m_photoChunkBytes = 4096;

    QByteArray m_pending;        // Coalesced: frames of the current batch
    QQueue<QByteArray> m_pieces; // Split: pieces still to write
    QTimer *m_pieceTimer = nullptr;

    Category m_endless = CategoryCount;
    int m_endlessPerStretch = 1000;
    int m_endlessSent = 0;
    QTimer *m_endlessTimer = nullptr;

    // Erase batch in progress per category.
    QList<EraseRecord> m_batch[CategoryCount];

    QList<quint16> m_receivedTypes;
    QList<QByteArray> m_receivedFrames;
    QList<EraseRecord> m_eraseRequests;
    QList<AnsweredBatch> m_answered;
};

Q_DECLARE_METATYPE(CompanionSimulator::EraseRecord)
