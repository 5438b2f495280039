// Every reply type through the window's receive loop: what each one stores,
// which flags it raises, what it shows.

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QtTest>

#include "protocol/messages.h"
#include "protocol/records.h"
#include "protocoltest.h"
#include "ui_mainwindow.h"

using namespace proto;

namespace {

QByteArray imageBytes(const char *format, int w = 64, int h = 48)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    QPainter p(&img);
    p.fillRect(8, 8, 20, 20, Qt::yellow);
    p.end();
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, format);
    return bytes;
}

ByteChunks photoChunks(const QString &name, const QByteArray &data, const QString &format, int pieces)
{
    ByteChunks frames;
    const int step = (data.size() + pieces - 1) / pieces;
    for (int i = 0; i < pieces; ++i)
        frames << FrameWriter(PhotoImage).string(name).bytes(data.mid(i * step, step)).string(format)
                      .int16(qint16(i)).int16(qint16(pieces)).finish();
    return frames;
}

QByteArray counts(quint16 type, const QList<int> &gates, const QList<int> &values)
{
    FrameWriter w(type);
    for (int g : gates)
        w.int16(qint16(g));
    for (int v : values)
        w.uint16(quint16(v));
    return w.finish();
}

bool near(float a, float b) { return qAbs(a - b) < 1e-3f; }

QStringList g_log;

// The decoder's lines (not the receive loop's "type_id:" line of each frame).
void collectDecoderLines(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg && !text.startsWith(QLatin1String("type_id:")))
        g_log << text;
}

} // namespace

class TestReplies : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void recordsAreStoredAsTheirPiecesArrive();
    void endlessListStopsAtTheBound();
    void eachReplyLogsItsOwnLines_data();
    void eachReplyLogsItsOwnLines();
};

void TestReplies::decode_data()
{
    QTest::addColumn<WindowCheck>("prepare");
    QTest::addColumn<ByteChunks>("frames");
    QTest::addColumn<WindowCheck>("check");
    const WindowCheck nothing = [](MainWindow &) {};

    // ----- text lists -----
    QTest::newRow("1 contact list in two frames")
        << nothing
        << ByteChunks{listFrame(ContactList, "1;Ada;555;a@x,*#*,2;Bo", 1, 2, 0),
                      listFrame(ContactList, ";556,*#*,3;Cy;555", 2, 2, 1)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_contactMapIdData.keys(), (QStringList{"1", "2", "3"}));
               QCOMPARE(w.m_contactMapNumberId.values("555").size(), 2);
               QCOMPARE(w.m_contactMapNameId.value("Bo"), QStringLiteral("2"));
               QVERIFY(w.m_dataReadable[Contact] && w.m_scanDone[Contact]);
               QCOMPARE(w.m_gotCount[Contact], 0u);
               QVERIFY(w.m_chunkText[Contact].isEmpty());
           });
    QTest::newRow("6 history list, a call without a name stays under its number")
        << nothing
        << ByteChunks{listFrame(HistoryList, "h1;Ada;555;Missed;0;2026-01-02 10:00:00,*#*,h2;;556;Missed;3", 1, 1, 1)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_historyMapIdData.keys(), (QStringList{"h1", "h2"}));
               QCOMPARE(w.m_historyMapNumberId.values("556"), QStringList{"h2"});
               QVERIFY(!w.m_historyMapNumberId.contains("Missed"));
               QVERIFY(w.m_dataReadable[History]);
               QCOMPARE(w.m_gotCount[History], 0u);
           });
    QTest::newRow("6 history log shows the tags as sent")
        << WindowCheck([](MainWindow &) {
               for (const char *line : {"history strlen: 40", "history subCountSize: 3", "history allCountSize: 5",
                                        "history entireCountSize: 7"})
                   QTest::ignoreMessage(QtDebugMsg, line);
           })
        << ByteChunks{FrameWriter(HistoryList).string("h1;Ada;555;Missed;0;2026-01-02 10:00:00", 40)
                          .int16(1, 3).int16(1, 5).int16(1, 7).finish()}
        << WindowCheck([](MainWindow &w) { QCOMPARE(w.m_historyMapIdData.keys(), QStringList{"h1"}); });
    QTest::newRow("11 message list keeps its counter")
        << nothing
        << ByteChunks{listFrame(MessageList, "m1;Ada;555;hi;2026-01-01 00:00:00,*#*,m2;Ada;555;yo;d", 1, 1, 1, true)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_messageMapIdData.size(), 2);
               QCOMPARE(w.m_messageMapNumberId.values("555").size(), 2);
               QVERIFY(w.m_dataReadable[Message] && w.m_scanDone[Message]);
               QCOMPARE(w.m_gotCount[Message], 2u);
           });
    QTest::newRow("11 message stretch without finished")
        << nothing << ByteChunks{listFrame(MessageList, "m1;Ada;555;hi;d", 1, 1, 0, true)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_messageMapIdData.size(), 1);
               QVERIFY(!w.m_dataReadable[Message]);
           });

    // ----- directories -----
    QTest::newRow("16 photo dir")
        << nothing
        << ByteChunks{listFrame(PhotoDirList, "a.jpg;10;jpg;/d/a.jpg,*#*,,*#*,b.png;;png;/d/b.png", 1, 1, 1)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_photoDir, (QStringList{"a.jpg;10;jpg;/d/a.jpg", "b.png;;png;/d/b.png"}));
               QVERIFY(w.m_dataReadable[Photo] && w.m_scanDone[Photo]);
           });
    QTest::newRow("38 whatsapp dir, counts unsigned")
        << nothing
        << ByteChunks{[] {
               return FrameWriter(listReplyType(Whatsapp)).string("/w/1.db").uint16(40000).uint16(40000)
                   .uint16(1).finish();
           }()}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_whatsappDir, QStringList{"/w/1.db"});
               QVERIFY(w.m_appDirFound[Whatsapp - FirstAppCategory]);
               QVERIFY(w.m_dataReadable[Whatsapp]);
           });
    QTest::newRow("43 empty facebook dir")
        << nothing << ByteChunks{listFrame(listReplyType(Facebook), "", 1, 1, 1)}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.m_facebookDir.isEmpty());
               QVERIFY(!w.m_appDirFound[0]);
               QVERIFY(w.m_dataReadable[Facebook]);
           });

    // ----- erase replies -----
    // An answer belongs to the category's batch in progress.
    const auto sent3 = WindowCheck([](MainWindow &w) {
        for (int c = 0; c < CategoryCount; ++c) {
            w.m_eraseSentCount[c] = 3;
            w.m_eraseBatches.sent(c, w.m_eraseRunNumber, {"k1", "k2", "k3"});
        }
    });
    for (int c = 0; c < CategoryCount; ++c) {
        QTest::addRow("%d erase back %s", eraseBackReplyType(Category(c)), categoryName(Category(c)))
            << sent3 << ByteChunks{FrameWriter(eraseBackReplyType(Category(c))).uint32(3).uint32(0).finish()}
            << WindowCheck([c](MainWindow &w) {
                   QVERIFY(w.m_eraseDone[c] && w.m_eraseBack[c] && w.m_eraseFinished[c]);
                   QCOMPARE(w.m_eraseBackFailCount[c], 0u);
               });
        // The failed count of the final answer is kept, so the run can say
        // that items were not erased.
        QTest::addRow("%d erase back with failures %s", eraseBackReplyType(Category(c)),
                      categoryName(Category(c)))
            << sent3 << ByteChunks{FrameWriter(eraseBackReplyType(Category(c))).uint32(1).uint32(2).finish()}
            << WindowCheck([c](MainWindow &w) {
                   QVERIFY(w.m_eraseDone[c] && w.m_eraseBack[c]);
                   QCOMPARE(w.m_eraseBackFailCount[c], 2u);
               });
    }
    // No batch is in progress (one was answered already, or none was sent):
    // the answer is nobody's and changes nothing.
    for (Category c : {Contact, Photo, Whatsapp}) {
        const QByteArray back = FrameWriter(eraseBackReplyType(c)).uint32(3).uint32(0).finish();
        QTest::addRow("%d erase back of no batch %s", eraseBackReplyType(c), categoryName(c))
            << nothing << ByteChunks{back}
            << WindowCheck([c](MainWindow &w) { QVERIFY(!w.m_eraseDone[c] && !w.m_eraseBack[c]); });
        QTest::addRow("%d second erase back %s", eraseBackReplyType(c), categoryName(c))
            << sent3 << ByteChunks{back, back}
            << WindowCheck([c](MainWindow &w) { QVERIFY(w.m_eraseDone[c] && !w.m_eraseBatches.isOpen(c)); });
    }
    for (Category c : {Contact, Message, Twitter}) {
        const QByteArray fail = FrameWriter(eraseFailReplyType(c)).string("k").uint16(0).finish();
        QTest::addRow("%d three of three failed %s", eraseFailReplyType(c), categoryName(c))
            << sent3 << ByteChunks{fail, fail, fail}
            << WindowCheck([c](MainWindow &w) {
                   QCOMPARE(w.m_eraseFailCount[c], 3u);
                   QVERIFY(w.m_eraseDone[c] && w.m_eraseBack[c] && w.m_eraseFinished[c]);
               });
        QTest::addRow("%d two of three failed %s", eraseFailReplyType(c), categoryName(c))
            << sent3 << ByteChunks{fail, fail}
            << WindowCheck([c](MainWindow &w) { QVERIFY(!w.m_eraseDone[c] && !w.m_eraseBack[c]); });
    }

    // ----- home info -----
    QTest::newRow("68 home info")
        << WindowCheck([](MainWindow &w) { w.m_powerLevel = QStringLiteral(" 85"); })
        << ByteChunks{FrameWriter(HomeInfo).string("Nimbus Z7;9;SER42;;28;x;32 GB;10.5 GB;64 GB;16 GB").finish()}
        << WindowCheck([](MainWindow &w) {
               // the empty field moved the later ones down by one
               QCOMPARE(w.m_homeInfoList.size(), 9);
               QVERIFY(w.m_homeInfoReadable);
               QCOMPARE(w.m_sdkLevel, 28);
               QCOMPARE(w.ui->MP_Label_Model->text(), QStringLiteral("Nimbus Z7"));
               QCOMPARE(w.ui->MP_Label_PhoneName->text(), QStringLiteral("Nimbus Z7"));
               QCOMPARE(w.ui->EAll_Label_PhoneVersion->text(), QStringLiteral("Nimbus Z7"));
               QCOMPARE(w.ui->MP_Label_SystemVersion->text(), QStringLiteral("9"));
               QCOMPARE(w.ui->MP_Label_SerialNumber->text(), QStringLiteral("SER42"));
               QCOMPARE(w.ui->MP_Label_Power->text(), QStringLiteral(" 85%"));
               QCOMPARE(w.ui->MP_Label_Phone_Free->text(), QStringLiteral("Total:32 GB"));
               QCOMPARE(w.ui->MP_Label_Phone_Total->text(), QStringLiteral("Free:10.5 GB"));
               QCOMPARE(w.ui->EAll_Label_RomTotal->text(), QStringLiteral("32 GB Total"));
               QCOMPARE(w.ui->EAll_Label_RomFree->text(), QStringLiteral("10.5 GB Free"));
               QCOMPARE(w.ui->EAll_Label_RomUsed->text(), QStringLiteral("21.5 Used"));
               QCOMPARE(w.ui->MP_Label_Sdcard_Free->text(), QStringLiteral("Total:64 GB"));
               QCOMPARE(w.ui->MP_Label_Sdcard_Total->text(), QStringLiteral("Free:16 GB"));
               QCOMPARE(w.ui->MP_ProgressBar_Phone->value(), 32);
               QCOMPARE(w.ui->MP_ProgressBar_Sdcard->value(), 25);
               QVERIFY(!w.ui->A_MP_ConnectedInfomation_5->isHidden());
               QVERIFY(w.ui->S_All_Button->isEnabled() && w.ui->S_App_Button->isEnabled());
           });
    QTest::newRow("68 then 69, total 0 keeps the bar")
        << nothing
        << ByteChunks{FrameWriter(HomeInfo).string("M;9;S;23;x;32 GB;16 GB;0 GB;1 GB").finish(),
                      emptyFrame(HomeInfoFail)}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(!w.m_homeInfoReadable);
               QCOMPARE(w.ui->MP_ProgressBar_Phone->value(), 50);
               QCOMPARE(w.ui->MP_ProgressBar_Sdcard->value(), 0);
               QCOMPARE(w.ui->MP_Label_SerialNumber->text(), QStringLiteral("S"));
           });

    // ----- get failed -----
    for (int c = 0; c < CategoryCount; ++c) {
        QTest::addRow("%d get failed %s", getFailReplyType(Category(c)), categoryName(Category(c)))
            << nothing << ByteChunks{emptyFrame(getFailReplyType(Category(c)))}
            << WindowCheck([c](MainWindow &w) {
                   QVERIFY(w.m_dataReadable[c] && w.m_scanDone[c]);
                   QCOMPARE(w.ui->testLabel_4->text().contains("gCFail\n"), c == History);
               });
    }

    // ----- acknowledgements and single values -----
    QTest::newRow("84 90 120 acknowledgements")
        << nothing << ByteChunks{emptyFrame(CancelScanBack), emptyFrame(CancelEraseBack), emptyFrame(StopGetPhotoBack)}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.m_cancelScanBack && w.m_cancelEraseBack && w.m_stopGetPhotoBack);
           });
    QTest::newRow("99 is default")
        << nothing << ByteChunks{FrameWriter(CheckDefaultSmsAppBack).int16(1).finish()}
        << WindowCheck([](MainWindow &w) { QVERIFY(w.m_isDefaultSmsApp && w.m_checkSmsAppReadable); });
    QTest::newRow("99 short body reads 0")
        << nothing << ByteChunks{emptyFrame(CheckDefaultSmsAppBack)}
        << WindowCheck([](MainWindow &w) { QVERIFY(!w.m_isDefaultSmsApp && w.m_checkSmsAppReadable); });
    QTest::newRow("101 change refused")
        << nothing << ByteChunks{FrameWriter(ChangeDefaultSmsAppBack).int16(0).finish()}
        << WindowCheck([](MainWindow &w) { QVERIFY(!w.m_changeSmsAppOk && w.m_changeSmsAppReadable); });
    QTest::newRow("101 changed")
        << nothing << ByteChunks{FrameWriter(ChangeDefaultSmsAppBack).int16(1).finish()}
        << WindowCheck([](MainWindow &w) { QVERIFY(w.m_changeSmsAppOk && w.m_changeSmsAppReadable); });
    QTest::newRow("103 count 12")
        << nothing << ByteChunks{FrameWriter(MessageCountBack).string("12").finish()}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_messageCount, quint16(12));
               QVERIFY(w.m_messageCountReadable);
           });
    QTest::newRow("103 not a number")
        << WindowCheck([](MainWindow &w) { w.m_messageCount = 5; })
        << ByteChunks{FrameWriter(MessageCountBack).string("abc").finish()}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_messageCount, quint16(0));
               QVERIFY(w.m_messageCountReadable);
           });
    QTest::newRow("122 closes gate 3, 124 debug number, 105 121 26 33 ignored")
        << WindowCheck([](MainWindow &w) { w.m_sdkGate[3] = true; })
        << ByteChunks{emptyFrame(NoAppGate), FrameWriter(DebugNumber).uint16(7).finish(), emptyFrame(SureConnected),
                      emptyFrame(AppNotice121), FrameWriter(26).int16(1).finish(), emptyFrame(33)}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(!w.m_sdkGate[3]);
               QVERIFY(w.ui->label_test_debug->text().endsWith(QStringLiteral("7,\n")));
           });

    // ----- app state -----
    QTest::newRow("106 app inactive")
        << nothing << ByteChunks{emptyFrame(AppInactive)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_appState, AppStateType::NotActive);
               QVERIFY(!w.ui->T_AppState->isHidden());
               QCOMPARE(w.ui->T_AppState_TopTitle->text(), QStringLiteral("App InActive"));
               if (w.m_stepTimer[MainWindow::StepTestCheckAppQuited])
                   QVERIFY(w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive());
           });
    QTest::newRow("106 after reboot")
        << WindowCheck([](MainWindow &w) { w.m_rebootDone = true; }) << ByteChunks{emptyFrame(AppInactive)}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.ui->T_AppState->isHidden());
               QCOMPARE(w.ui->T_AppState_TopTitle->text(), QStringLiteral("App InActive "));
           });
    QTest::newRow("106 then 107")
        << nothing << ByteChunks{emptyFrame(AppInactive), emptyFrame(AppActive)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_appState, AppStateType::Active);
               QVERIFY(w.ui->T_AppState->isHidden());
               QCOMPARE(w.ui->T_AppState_TopTitle->text(), QStringLiteral("App Active"));
               if (w.m_stepTimer[MainWindow::StepTestCheckAppQuited])
                   QVERIFY(!w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive());
           });

    // ----- left time -----
    QTest::newRow("113 private counts")
        << nothing << ByteChunks{counts(PrivateLeftTimeBack, {}, {1000, 0, 100, 40, 10, 2})}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.m_leftTimeReadable);
               QCOMPARE(w.m_photoCount, quint16(40));
               QVERIFY(near(w.m_expectedScanTime[Contact], 14.0f));
               QVERIFY(near(w.m_expectedScanTime[History], 50.0f)); // 0 replaced by 50
               QVERIFY(near(w.m_expectedEraseTime[History], 50.0f));
               QVERIFY(near(w.m_expectedEraseTime[Message], 3.7f));
               QVERIFY(near(w.m_scanLeftPrivate, 14 + 50 + 9.4f + 0.92f + 0.21f + 0.042f));
               QVERIFY(w.ui->testLabel_3->text().contains("private leftTimeDone:\n14,\n50,\n"));
           });
    QTest::newRow("123 gates and private counts")
        << nothing << ByteChunks{counts(PrivateLeftTimeGates, {1, 0, 1, 0}, {10, 10, 10, 10, 10, 10})}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.m_sdkGate[0] && !w.m_sdkGate[1] && w.m_sdkGate[2] && !w.m_sdkGate[3]);
               QCOMPARE(w.m_photoCount, quint16(10));
               QVERIFY(near(w.m_expectedScanTime[Message], 0.94f));
               QVERIFY(w.m_leftTimeReadable);
               QVERIFY(!w.ui->testLabel_3->text().contains("leftTimeDone"));
           });
    QTest::newRow("116 all counts, zeros kept, empty total 50")
        << nothing << ByteChunks{counts(AllLeftTimeBack, {}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})}
        << WindowCheck([](MainWindow &w) {
               for (int c = 0; c < CategoryCount; ++c)
                   QCOMPARE(w.m_expectedScanTime[c], 0.0f);
               QVERIFY(near(w.m_scanLeftAll, 50) && near(w.m_eraseLeftAll, 50));
               QVERIFY(w.m_leftTimeReadable);
           });
    QTest::newRow("125 gates, all counts replaced")
        << nothing << ByteChunks{counts(AllLeftTimeGates, {1, 1, 1, 1}, {0, 0, 0, 0, 0, 0, 1000, 0, 0, 0, 0, 0})}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.m_sdkGate[3]);
               QVERIFY(near(w.m_expectedScanTime[Facebook], 0.6f));
               QVERIFY(near(w.m_expectedEraseTime[Contact], 50));
               QVERIFY(near(w.m_scanLeftAll, 11 * 50 + 0.6f));
           });
    QTest::newRow("118 app counts")
        << nothing << ByteChunks{counts(AppLeftTimeBack, {}, {1000, 2000, 0, 0, 0, 0})}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(near(w.m_expectedScanTime[Twitter], 1.2f));
               QVERIFY(near(w.m_expectedScanTime[Skype], 50));
               QVERIFY(near(w.m_scanLeftApp, 0.6f + 1.2f + 4 * 50));
               QVERIFY(w.m_leftTimeReadable);
           });
    QTest::newRow("127 no app data")
        << WindowCheck([](MainWindow &w) {
               w.m_sdkGate[3] = true;
               w.m_scanLeftApp = 9;
               w.m_expectedScanTime[Kik] = 3;
           })
        << ByteChunks{emptyFrame(NoAppData)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_expectedScanTime[Kik], 0.0f);
               QCOMPARE(w.m_scanLeftApp, 0.0f);
               QVERIFY(!w.m_sdkGate[3]);
               QVERIFY(w.m_leftTimeReadable);
           });
    QTest::newRow("109 private scope with sizes")
        << WindowCheck([](MainWindow &w) { w.m_eraseType = EraseType::Private; })
        << ByteChunks{[] {
               FrameWriter f(LeftTimeCurrentScope);
               for (int v : {1000, 0, 0, 4, 0, 0})
                   f.int16(qint16(v));
               f.int64(20 * 1024 * 1024).int64(0).int64(0); // photo, audio, video bytes
               return f.finish();
           }()}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.m_leftTimeReadable);
               QCOMPARE(w.m_photoCount, quint16(4));
               QVERIFY(near(w.m_expectedScanTime[Contact], 14));
               QVERIFY(near(w.m_expectedEraseTime[Photo], 4 * 0.0003f + 1.0f));
               QVERIFY(near(w.m_expectedScanTime[Audio], 50));
           });

    // ----- photos -----
    const QByteArray jpeg = imageBytes("JPEG");
    const QByteArray png = imageBytes("PNG", 30, 20);
    // A photo is kept under the location it was asked for, as a preview
    // that fits 300 x 300 (and a cell icon).
    auto asked = [](const QStringList &locations) {
        return WindowCheck([locations](MainWindow &w) { w.m_photoRequested = locations; });
    };
    auto previewSize = [](MainWindow &w, const QString &location) {
        return QImage::fromData(w.m_photoThumbs.value(location).preview).size();
    };
    QTest::newRow("18 jpeg in three chunks")
        << asked({"/sdcard/DCIM/IMG_1.jpg"}) << photoChunks("IMG_1.jpg", jpeg, "jpg", 3)
        << WindowCheck([=](MainWindow &w) {
               QCOMPARE(w.m_photoThumbs.keys(), QStringList{"/sdcard/DCIM/IMG_1.jpg"});
               QCOMPARE(previewSize(w, "/sdcard/DCIM/IMG_1.jpg"), QSize(300, 225));
               QCOMPARE(w.m_photoThumbs.value("/sdcard/DCIM/IMG_1.jpg").icon.size(), QSize(56, 42));
               QCOMPARE(w.m_photoGotList, QStringList{"IMG_1.jpg;jpg,"});
               QVERIFY(w.m_photoData.isEmpty());
               QVERIFY(w.m_photoRequested.isEmpty());
           });
    QTest::newRow("18 png, then the same location again")
        << asked({"/p/s.png", "/p/s.png"}) << (photoChunks("s.png", png, "PNG", 2) + photoChunks("s.png", jpeg, "jpg", 1))
        << WindowCheck([=](MainWindow &w) {
               QCOMPARE(w.m_photoThumbs.size(), 1);
               QCOMPARE(previewSize(w, "/p/s.png"), QSize(300, 200));
               QCOMPARE(w.m_photoGotList.size(), 2);
           });
    QTest::newRow("18 unknown format listed, not decoded; broken bytes give no preview")
        << asked({"/a.gif", "/b.jpg"}) << (photoChunks("a.gif", png, "gif", 1) + photoChunks("b.jpg", "not an image", "jpg", 2))
        << WindowCheck([](MainWindow &w) {
               QVERIFY(!w.m_photoThumbs.contains("/a.gif"));
               QVERIFY(w.m_photoThumbs.contains("/b.jpg"));
               QVERIFY(w.m_photoThumbs.value("/b.jpg").preview.isEmpty());
               QVERIFY(!w.m_photoThumbs.value("/b.jpg").icon.isNull()); // the fallback icon
               QCOMPARE(w.m_photoGotList, (QStringList{"a.gif;gif,", "b.jpg;jpg,"}));
           });
    QTest::newRow("19 photo failed answers the oldest request")
        << asked({"/x.jpg", "/y.jpg"}) << ByteChunks{emptyFrame(PhotoFail)}
        << WindowCheck([](MainWindow &w) {
               QVERIFY(w.m_photoThumbs.isEmpty());
               QCOMPARE(w.m_photoRequested, QStringList{"/y.jpg"});
           });
    QTest::newRow("photo not asked for is not kept")
        << asked({}) << photoChunks("IMG_1.jpg", jpeg, "jpg", 1)
        << WindowCheck([](MainWindow &w) { QVERIFY(w.m_photoThumbs.isEmpty()); });
    QTest::newRow("a reply answers the request naming its file; those before went unanswered")
        << asked({"/a/IMG_1.jpg", "/b/IMG_2.jpg", "/c/IMG_3.jpg"}) << photoChunks("IMG_2.jpg", jpeg, "jpg", 1)
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_photoThumbs.keys(), QStringList{"/b/IMG_2.jpg"});
               QCOMPARE(w.m_photoRequested, QStringList{"/c/IMG_3.jpg"});
           });

    // A photo cut off does not spoil the next one.
    QTest::newRow("cut off after its first chunk, then another photo")
        << asked({"/a.jpg", "/b.jpg"}) << (photoChunks("a.jpg", jpeg, "jpg", 3).mid(0, 1) + photoChunks("b.jpg", jpeg, "jpg", 3))
        << WindowCheck([=](MainWindow &w) {
               QCOMPARE(w.m_photoThumbs.keys(), QStringList{"/b.jpg"});
               QCOMPARE(previewSize(w, "/b.jpg"), QSize(300, 225));
               QVERIFY(w.m_photoRequested.isEmpty());
           });
    QTest::newRow("cut off after its first chunk, then sent again from its first chunk")
        << asked({"/a.jpg", "/a.jpg"}) << (photoChunks("a.jpg", png, "png", 2).mid(0, 1) + photoChunks("a.jpg", jpeg, "jpg", 2))
        << WindowCheck([=](MainWindow &w) {
               QCOMPARE(previewSize(w, "/a.jpg"), QSize(300, 225));
               QCOMPARE(w.m_photoRequested, QStringList{"/a.jpg"}); // the first request went unanswered
           });
    QTest::newRow("a chunk missing in the middle: the photo is dropped, the next one kept")
        << asked({"/a.jpg", "/b.jpg"})
        << ([&] {
               ByteChunks a = photoChunks("a.jpg", jpeg, "jpg", 3);
               a.removeAt(1);
               return a + photoChunks("b.jpg", png, "png", 1);
           }())
        << WindowCheck([=](MainWindow &w) {
               QCOMPARE(w.m_photoThumbs.keys(), QStringList{"/b.jpg"});
               QCOMPARE(w.m_photoGotList, QStringList{"b.jpg;png,"});
           });

    // ----- bounded accumulators -----
    // A record beyond the bound of one record is passed over; the list goes
    // on and is marked incomplete.
    QTest::newRow("record too long passed over, list incomplete")
        << WindowCheck([](MainWindow &w) { w.m_maxRecordChars = 40; })
        << ByteChunks{listFrame(ContactList, "1;Ada;555,*#*,2;" + QString(30, 'x'), 1, 3, 0),
                      listFrame(ContactList, QString(30, 'y'), 2, 3, 0),
                      listFrame(ContactList, ",*#*,9;Zed;999", 3, 3, 1), listFrame(PhotoDirList, "a;1;jpg;/a", 1, 1, 1)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_contactMapIdData.keys(), (QStringList{"1", "9"}));
               QVERIFY(w.m_dataReadable[Contact]);
               QVERIFY(w.m_listIncomplete[Contact]);
               QVERIFY(!w.m_listIncomplete[Photo]);
               QVERIFY(w.m_chunkText[Contact].isEmpty());
           });
    // What one scan stores of a category is bounded: the rest is passed
    // over, the category is still read to its end and marked incomplete.
    QTest::newRow("records beyond the bound of a scan")
        << WindowCheck([](MainWindow &w) { w.m_maxListRecords = 3; })
        << ByteChunks{listFrame(MessageList, "m1;A;1;x;d,*#*,m2;A;1;y;d", 1, 1, 0, true),
                      listFrame(MessageList, "m3;B;2;x;d,*#*,m4;B;2;y;d,*#*,m5;C;3;z;d", 1, 1, 1, true)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_messageMapIdData.keys(), (QStringList{"m1", "m2", "m3"}));
               QVERIFY(w.m_dataReadable[Message]);
               QVERIFY(w.m_listIncomplete[Message]);
           });
    QTest::newRow("directory text beyond the bound of a scan")
        << WindowCheck([](MainWindow &w) { w.m_maxListChars = 25; })
        << ByteChunks{listFrame(listReplyType(Twitter), "/t/1.db,*#*,/t/2.db,*#*,/t/3.db,*#*,/t/4.db", 1, 1, 1)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_twitterDir, (QStringList{"/t/1.db", "/t/2.db", "/t/3.db"}));
               QVERIFY(w.m_dataReadable[Twitter]);
               QVERIFY(w.m_listIncomplete[Twitter]);
           });
    QTest::newRow("separator split over two pieces")
        << nothing
        << ByteChunks{listFrame(ContactList, "1;Ada;555,*", 1, 2, 0), listFrame(ContactList, "#*,2;Bo;556", 2, 2, 1)}
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_contactMapIdData.keys(), (QStringList{"1", "2"}));
               QVERIFY(!w.m_listIncomplete[Contact]);
           });
    // The failure count of a batch has room for any batch the phone can take.
    for (const int failures : {69999, 70000}) {
        QByteArray flood;
        const QByteArray fail = FrameWriter(eraseFailReplyType(Contact)).string("k").uint16(0).finish();
        for (int i = 0; i < failures; ++i)
            flood += fail;
        QTest::addRow("%d failures of a batch of 70000", failures)
            << WindowCheck([](MainWindow &w) {
                   w.m_eraseSentCount[Contact] = 70000;
                   QStringList keys;
                   for (int i = 0; i < 70000; ++i)
                       keys << QString::number(i);
                   w.m_eraseBatches.sent(Contact, w.m_eraseRunNumber, keys);
               })
            << ByteChunks{flood}
            << WindowCheck([failures](MainWindow &w) {
                   QCOMPARE(w.m_eraseFailCount[Contact], quint32(failures));
                   QCOMPARE(w.m_eraseBack[Contact], failures == 70000);
               });
    }
    QTest::newRow("oversized photo dropped, next photo decoded")
        << WindowCheck([](MainWindow &w) {
               w.m_maxAccumulatorBytes = 4096;
               w.m_photoRequested = QStringList{"/big.png", "/ok.png"};
           })
        << (photoChunks("big.png", QByteArray(9000, 'z'), "png", 3) + photoChunks("ok.png", png, "png", 1))
        << WindowCheck([](MainWindow &w) {
               QCOMPARE(w.m_photoThumbs.keys(), QStringList{"/ok.png"});
               QCOMPARE(w.m_photoGotList, QStringList{"ok.png;png,"});
           });
}

void TestReplies::decode()
{
    QFETCH(WindowCheck, prepare);
    QFETCH(ByteChunks, frames);
    QFETCH(WindowCheck, check);
    auto w = quietWindow();
    prepare(*w);
    for (const QByteArray &frame : frames) {
        QVERIFY(!frame.isEmpty());
        w->receiveChunk(frame);
    }
    // A long chunk is decoded over several passes of the event loop, and
    // photos on a worker.
    QTRY_VERIFY(w->m_receiveFrames.buffered() == 0);
    QTRY_VERIFY(!w->m_photoDecoder || w->m_photoDecoder->pending() == 0);
    check(*w);
}

// Every record is stored as soon as its separator has arrived; only the
// unfinished one waits. The category is read when the list has ended.
void TestReplies::recordsAreStoredAsTheirPiecesArrive()
{
    auto w = quietWindow();
    w->receiveChunk(listFrame(ContactList, "1;Ada;555,*#*,2;B", 1, 2, 0));
    QCOMPARE(w->m_contactMapIdData.keys(), QStringList{"1"});
    QCOMPARE(w->m_chunkText[Contact], QStringLiteral("2;B"));
    QVERIFY(!w->m_dataReadable[Contact]);
    w->receiveChunk(listFrame(ContactList, "o;556", 2, 2, 1));
    QCOMPARE(w->m_contactMapIdData.keys(), (QStringList{"1", "2"}));
    QCOMPARE(w->m_contactMapNameId.value("Bo"), QStringLiteral("2"));
    QVERIFY(w->m_dataReadable[Contact]);
}

// A peer that keeps sending stretches of a list without ever finishing it
// stops being stored at the bound; memory stays bounded and the category is
// incomplete. A new scan starts from clean accumulators.
void TestReplies::endlessListStopsAtTheBound()
{
    auto w = quietWindow();
    w->m_maxListRecords = 500;
    int next = 0;
    auto stretch = [&next] {
        QStringList records;
        for (int i = 0; i < 100; ++i, ++next)
            records << QStringLiteral("c%1;Name %1;+1555%1;mail@x.org;;").arg(next);
        return listFrame(ContactList, joinRecords(records), 1, 1, 0);
    };
    for (int i = 0; i < 30; ++i)
        w->receiveChunk(stretch());
    QCOMPARE(w->m_contactMapIdData.size(), 500);
    QCOMPARE(w->m_contactMapNumberId.size(), 500);
    QVERIFY(w->m_listIncomplete[Contact]);
    QVERIFY(w->m_chunkText[Contact].isEmpty());
    QVERIFY(!w->m_dataReadable[Contact]);

    // Half a photo and the rest of the list are left from the last scan.
    w->receiveChunk(FrameWriter(PhotoImage).string("a.jpg").bytes("half").string("jpg").int16(0).int16(2).finish());
    w->m_eraseType = EraseType::Private;
    w->resetScanState();
    QVERIFY(!w->m_listIncomplete[Contact]);
    QVERIFY(w->m_photoData.isEmpty());
    QVERIFY(w->m_contactMapIdData.isEmpty());
    w->receiveChunk(listFrame(ContactList, "1;Ada;555,*#*,2;Bo;556", 1, 1, 1));
    QCOMPARE(w->m_contactMapIdData.keys(), (QStringList{"1", "2"}));
    QVERIFY(w->m_dataReadable[Contact]);
    QVERIFY(!w->m_listIncomplete[Contact]);
}

// What the decoder logs, reply by reply: each type id goes to its own
// handling and logs its lines once; an id that is no reply says so.
void TestReplies::eachReplyLogsItsOwnLines_data()
{
    QTest::addColumn<ByteChunks>("frames");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("0 and 128 are outside the ids, 85 is none")
        << ByteChunks{emptyFrame(0), emptyFrame(128), emptyFrame(85)}
        << QStringList{"received wrong type in default", "received wrong type in default",
                       "received wrong type in default"};
    QTest::newRow("26 33 121 are passed over without a line")
        << ByteChunks{emptyFrame(26), emptyFrame(33), emptyFrame(AppNotice121)}
        << QStringList{};
    QTest::newRow("1 a contact list, not a directory")
        << ByteChunks{listFrame(ContactList, "1;Ada;555", 1, 1, 1)}
        << QStringList{"got all contact,contact got count: 1 finished: 1"};
    QTest::newRow("16 a photo directory")
        << ByteChunks{listFrame(PhotoDirList, "a.jpg;10;jpg;/d/a.jpg", 1, 1, 1)}
        << QStringList{"got all photo dir"};
    QTest::newRow("70 71 80 lists refused")
        << ByteChunks{emptyFrame(70), emptyFrame(71), emptyFrame(80)}
        << QStringList{"get contact fail", "get his fail"};
    QTest::newRow("3 4 erase answers of no batch")
        << ByteChunks{FrameWriter(eraseBackReplyType(Contact)).uint32(1).uint32(0).finish(),
                      FrameWriter(eraseFailReplyType(Contact)).string("k").uint16(0).finish()}
        << QStringList{"erase contact back", "erase answer of no batch of the last run, not counted: contact",
                       "erase answer of no batch of the last run, not counted: contact"};
    QTest::newRow("84 90 105 acknowledgements")
        << ByteChunks{emptyFrame(CancelScanBack), emptyFrame(CancelEraseBack), emptyFrame(SureConnected)}
        << QStringList{"cancel scan done", "cancel erase done",
                       "in got receive,get sure connected done,start get home info"};
    QTest::newRow("99 101 103 124 single values")
        << ByteChunks{FrameWriter(CheckDefaultSmsAppBack).int16(1).finish(),
                      FrameWriter(ChangeDefaultSmsAppBack).int16(0).finish(),
                      FrameWriter(MessageCountBack).string("12").finish(), FrameWriter(DebugNumber).uint16(7).finish()}
        << QStringList{"get check default SMS App Data done", "get change default SMS App Data done",
                       "got msg countStr: \"12\"", "get message count done", "debug nmuber: 7"};
    QTest::newRow("19 120 photo failed, photos stopped")
        << ByteChunks{emptyFrame(PhotoFail), emptyFrame(StopGetPhotoBack)}
        << QStringList{"got photo fail", "stop get photo done"};
}

void TestReplies::eachReplyLogsItsOwnLines()
{
    QFETCH(ByteChunks, frames);
    QFETCH(QStringList, lines);
    auto w = quietWindow();
    g_log.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectDecoderLines);
    for (const QByteArray &frame : frames)
        w->receiveChunk(frame);
    qInstallMessageHandler(previous);
    QCOMPARE(w->m_receiveFrames.buffered(), 0);
    if (g_log != lines)
        qWarning().noquote() << "logged:\n" + g_log.join(QLatin1Char('\n'));
    QCOMPARE(g_log, lines);
}

QTEST_MAIN(TestReplies)
#include "tst_replies.moc"
