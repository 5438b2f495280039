#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "workflowrig.h"

#include "support/simphone.h"
#include "protocol/frame.h"
#include "protocol/records.h"
#include "workflow/eraseplan.h"

#include <QDesktopServices>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// How an erase run ends for the user: the report page (completed, with
// failures, interrupted), the cancel notice, and the erase record written for
// every run, read back against what the companion-app simulator was asked to
// erase and scripted to fail.
namespace {

using namespace workflowrig;

struct Rig
{
    SimPhone phone; // reboot and exit run the simulated tools
    QTemporaryDir records;
    CompanionSimulator sim;
    MainWindow w;
    explicit Rig(const SimDataSet &data = SimDataSet::generate())
        : sim(data)
    {
        w.m_timerTestPort->stop(); // no device link: the socket is connected by hand
        w.m_recordsFolder = records.path();
        sim.setDefaultSmsApp(true);
    }
};

// Connected, with the phone's particulars shown as after a real connection;
// the connection supervision is then left to the test.
bool connectRig(Rig &r)
{
    if (!connectToSimulator(r.w, r.sim, 28))
        return false;
    r.w.newTCPConnected();
    const bool shown = waitFor(r.w, [&] { return r.w.ui->MP_Label_SerialNumber->text() == "R58N91XKQ2B"; });
    r.w.m_timerNewTCPConnected->stop();
    r.w.m_timerHomeInfoReadable->stop();
    return shown;
}

bool scanAndConfirm(Rig &r, QAbstractButton *scope)
{
    if (!click(scope) || !waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); })
        || !click(r.w.ui->EAll_Label_ToScan))
        return false;
    return waitFor(r.w, [&] { return r.w.m_workPhase == Scanned; });
}

bool eraseNow(Rig &r)
{
    QLineEdit *edit = r.w.ui->M_ConformErase_LineEdit_InputErase;
    edit->clear();
    QTest::keyClicks(edit, "Erase");
    return click(r.w.ui->M_ConformErase_PushButton_EraseNow);
}

// With PURGATEX_REPORT_SHOTS naming a folder, pictures of what the user sees
// are saved there for a look (run under xvfb-run for the real look).
void shoot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("PURGATEX_REPORT_SHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QTest::qWait(100);
    w->grab().save(QDir(dir).filePath(name + ".png"));
}

QStringList recordFiles(const Rig &r, const QString &suffix)
{
    QStringList files;
    for (const QString &name : QDir(r.records.path()).entryList({"*." + suffix}, QDir::Files, QDir::Name))
        files << QDir(r.records.path()).filePath(name);
    return files;
}

QJsonObject readJson(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
}

QJsonObject categoryOf(const QJsonObject &record, const QString &name)
{
    for (const QJsonValue v : record["categories"].toArray())
        if (v.toObject()["category"].toString() == name)
            return v.toObject();
    return QJsonObject();
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

QStringList jsonStrings(const QJsonValue &v)
{
    QStringList out;
    for (const QJsonValue item : v.toArray())
        out << item.toString();
    return out;
}

// Keys the simulator was asked to erase, per category.
QMap<int, QStringList> keysReceived(const CompanionSimulator &sim)
{
    QMap<int, QStringList> keys;
    for (const auto &e : sim.eraseRequests())
        keys[e.category] << e.key;
    return keys;
}

// A record of an erase keeps nothing of what was erased: no field of a
// contact, call or message but its id appears in the JSON file or the PDF.
void verifyNoContents(const QStringList &files, const SimDataSet &before)
{
    QString all;
    for (const QString &file : files) {
        if (file.endsWith(".pdf")) {
            all += pdfText(file);
        } else {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            all += QString::fromUtf8(f.readAll());
        }
    }
    QVERIFY(!all.isEmpty());
    int checked = 0;
    for (int c : {Contact, History, Message}) {
        for (const QString &record : before.lists[c]) {
            const QStringList fields = record.split(';');
            for (int i = 1; i < fields.size(); ++i) {
                const QString &field = fields.at(i);
                const bool telling = field.size() >= 5 && field.contains(QRegularExpression("[A-Za-z+@]"));
                if (!telling)
                    continue;
                ++checked;
                QVERIFY2(!all.contains(field), qPrintable(QString("record holds \"%1\"").arg(field)));
            }
        }
    }
    QVERIFY(checked > 100);
}

// A private run of two contact rows and the first photo, erased; the phone
// reboots (quickly) and its link comes back through the simulated tools.
struct PrivateRun
{
    QStringList contacts;
    QString photo;
};

bool erasePrivateChoice(Rig &r, PrivateRun &run)
{
    r.phone.set({{"app.running", "1"}, {"reboot.listed_ms", "300"}, {"reboot.absent_ms", "3500"}});
    if (!connectRig(r))
        return false;
    r.w.m_companionPort = r.sim.port(); // where the forward lands after the reboot
    if (!scanAndConfirm(r, r.w.ui->S_Private_Button))
        return false;
    auto *contacts = r.w.findChild<QTableWidget *>("tableContactWidget");
    if (!clickRow(contacts, 1) || !clickRow(contacts, 2) || !click(r.w.ui->EP_IsScanning_PushButton_Photo)
        || !clickRow(r.w.findChild<QTableWidget *>("tablePhotoWidget"), 1))
        return false;
    run.contacts = r.w.m_contactToEraseList;
    run.photo = r.w.m_photoToEraseList.value(0);
    if (!click(r.w.ui->EP_IsScanning_PushButton_Erase)
        || !waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }))
        return false;
    return eraseNow(r) && waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; });
}

// Stop and its OK at once, while the batch just sent is still on its way:
// the companion app answers it before the cancel.
bool cancelAtOnce(Rig &r)
{
    return click(r.w.ui->M_IsErasing_PubuButton_Stop) && click(r.w.ui->T_D_IsErasing_Stop_PushButton_Ok)
           && waitFor(r.w, [&] { return !r.w.ui->T_D_EraseCancelled->isHidden(); })
           && click(r.w.ui->T_D_EraseCancelled_PushButton_Ok);
}

// The record of the run that ended last.
QJsonObject lastRecord(const Rig &r)
{
    return readJson(r.w.m_recordWritten.jsonPath);
}

bool tickPrivateRows(Rig &r, QAbstractButton *category, const char *table, QList<int> rows)
{
    if (!click(category))
        return false;
    for (int row : rows)
        if (!clickRow(r.w.findChild<QTableWidget *>(table), row))
            return false;
    return true;
}

// A private scan with the first contact row and the first three photos ticked.
bool chooseContactAndThreePhotos(Rig &r)
{
    return connectRig(r) && scanAndConfirm(r, r.w.ui->S_Private_Button)
           && tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Contact, "tableContactWidget", {1})
           && tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Photo, "tablePhotoWidget", {1, 2, 3});
}

bool confirmPrivate(Rig &r)
{
    return click(r.w.ui->EP_IsScanning_PushButton_Erase)
           && waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); });
}

const char *const kAllErased = "All data on your device has been erased permanently!";

using VerifyStatus = EraseAccount::Verification::Status;

bool verificationOver(Rig &r, int timeoutMs = 60000)
{
    return waitFor(
        r.w,
        [&] {
            const VerifyStatus s = r.w.m_eraseAccount.verification().status;
            return s != VerifyStatus::Pending && s != VerifyStatus::Running;
        },
        timeoutMs);
}

// The scan's records, choices and tables, to see that a verification pass
// leaves them as they were.
QString scanState(Rig &r)
{
    auto *contacts = r.w.findChild<QTableWidget *>("tableContactWidget");
    auto *photos = r.w.findChild<QTableWidget *>("tablePhotoWidget");
    return QStringList{QStringList(r.w.m_contactMapIdData.keys()).join(','), r.w.m_photoDir.join(','),
                       r.w.m_contactToEraseList.join(','), r.w.m_photoToEraseList.join(','),
                       QString::number(contacts->rowCount()), QString::number(photos->rowCount())}
        .join('|');
}

} // namespace

class TestEraseReport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: bash scripts/setup-deps.sh");
    }

    void completionStaysThroughRebootUntilLeft_data();
    void completionStaysThroughRebootUntilLeft();
    void verificationAfterTheReboot_data();
    void verificationAfterTheReboot();
    void verificationCouldNotRunWithoutThePhone();
    void leavingThePageCancelsTheVerification();
    void lateVerificationListStaysOutOfTheNextScan();
    void failedItemsAreReportedAndRecorded();
    void droppedConnectionEndsOnInterruptedReport_data();
    void droppedConnectionEndsOnInterruptedReport();
    void cancelledRunSaysWhatWasErasedAndTheNextRunCarriesIt();
    void runAfterCancelCountsWhatIsChosenNow_data();
    void runAfterCancelCountsWhatIsChosenNow();
    void appRunAfterCancelErasesWhatShowsTicked_data();
    void appRunAfterCancelErasesWhatShowsTicked();
    void batchUnansweredBeforeCancelIsNotCalledFailed_data();
    void batchUnansweredBeforeCancelIsNotCalledFailed();
    void closingDuringAnEraseLeavesAnInterruptedRecord_data();
    void closingDuringAnEraseLeavesAnInterruptedRecord();
    void folderThatCannotBeWrittenIsReportedOnThePage();
    void recordLinkOpensThePdf();
};

void TestEraseReport::completionStaysThroughRebootUntilLeft_data()
{
    QTest::addColumn<bool>("failures");
    QTest::addColumn<bool>("appInBackground");
    QTest::addColumn<QString>("leaveBy");
    QTest::newRow("clean private run, Home") << false << false << "M_EraseComplated_PushButton_Home";
    QTest::newRow("failures, app in the background, My Phone") << true << true << "S_MyPhone_Button";
    QTest::newRow("clean, app in the background, a scope button") << false << true << "S_App_Button";
}

// The report is seen: it stays in front while the phone reboots and the
// device link brings the link back through the simulated tools, until the
// user leaves it.
void TestEraseReport::completionStaysThroughRebootUntilLeft()
{
    QFETCH(bool, failures);
    QFETCH(bool, appInBackground);
    QFETCH(QString, leaveBy);
    Rig r;
    r.phone.set({{"app.running", "1"}, {"reboot.listed_ms", "300"}, {"reboot.absent_ms", "3500"}});
    QVERIFY(connectRig(r));
    r.w.m_companionPort = r.sim.port(); // where the forward lands after the reboot
    QVERIFY(scanAndConfirm(r, r.w.ui->S_Private_Button));
    auto *contacts = r.w.findChild<QTableWidget *>("tableContactWidget");
    QVERIFY(clickRow(contacts, 1));
    if (failures)
        r.sim.setUnerasableKeys({r.w.m_contactToEraseList.first()});
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    if (appInBackground) {
        // The companion app reports itself in the background: the watchdog
        // runs beside the erase, and must not outlive the reboot.
        r.sim.sendAppInactive();
        QVERIFY(waitFor(r.w, [&] { return r.w.m_timerTestCheckAppQuited->isActive(); }));
    }
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(), QString("Completed"));
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QCOMPARE(text.startsWith("All data on your device has been erased permanently!"), !failures);
    QVERIFY(!r.w.m_timerTestCheckAppQuited->isActive());

    // The phone reboots and comes back; the link is up again behind the report.
    QTRY_VERIFY_WITH_TIMEOUT(r.phone.calls().contains("adb reboot"), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(r.w.m_programType == ProgramType::Idle && r.w.ui->S_MyPhone_Button->isEnabled(), 60000);
    r.w.m_timerNewTCPConnected->stop();
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(), text);
    for (QWidget *page : qAsConst(r.w.m_pageList))
        QVERIFY2(page == r.w.ui->M_EraseCompleted_3 || page->isHidden(), qPrintable(page->objectName()));
    QVERIFY(r.w.ui->T_AppState->isHidden());

    shoot(&r.w, QStringLiteral("report-after-reboot-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
    QVERIFY(click(r.w.findChild<QAbstractButton *>(leaveBy)));
    QVERIFY(r.w.ui->M_EraseCompleted_3->isHidden());
    QVERIFY(!r.w.m_reportHeld);
    if (leaveBy == "S_App_Button") // after the photo stop the private results asked for
        QVERIFY(waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); }));
    else
        QVERIFY(!r.w.ui->A_MP_ConnectedInfomation_5->isHidden());
}

void TestEraseReport::verificationAfterTheReboot_data()
{
    QTest::addColumn<bool>("keepPhoto");
    QTest::newRow("everything gone") << false;
    QTest::newRow("phone keeps a photo it reported erased") << true;
}

void TestEraseReport::verificationAfterTheReboot()
{
    QFETCH(bool, keepPhoto);
    Rig r;
    const QString kept = SimDataSet::eraseKey(Photo, r.sim.data().lists[Photo].first());
    if (keepPhoto)
        r.sim.setKeptKeys({kept});
    PrivateRun run;
    QVERIFY(erasePrivateChoice(r, run));
    QCOMPARE(run.photo, kept);
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Verify->text(), QString("Verification: waiting for the phone to restart..."));
    const QString before = scanState(r);
    const int historyAsked = r.sim.count(proto::GetHistory);
    const QJsonObject pending = readJson(recordFiles(r, "json").value(0));
    QCOMPARE(pending["verification"]["status"].toString(), QString("pending"));

    QVERIFY(verificationOver(r));
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    const int erased = run.contacts.size() + 1;
    const QString line = r.w.ui->M_EraseCompleted_Label_Verify->text();
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             keepPhoto ? QString("The phone reported %1 of %1 chosen items as erased, but it still lists some of "
                                 "them.").arg(erased)
                       : QString("All data on your device has been erased permanently!"));
    if (keepPhoto)
        QCOMPARE(line, QString("1 item reported erased is still on the phone: Photo 1"));
    else
        QCOMPARE(line, QString("Verified: %1 of %1 erased items are gone from the phone").arg(erased));
    shoot(&r.w, keepPhoto ? "report-verification-failed" : "report-verified");
    // Per category in the table: Contact, then Photo.
    QTableWidget *table = r.w.ui->M_EraseCompleted_Table;
    QVERIFY(!table->isColumnHidden(5));
    QCOMPARE(table->item(0, 5)->text(), QString("all gone"));
    QCOMPARE(table->item(1, 5)->text(), keepPhoto ? QString("1 still listed") : QString("all gone"));
    // Only the erased categories were listed, and the scan's records,
    // choices and tables are as they were.
    QCOMPARE(r.sim.count(proto::GetHistory), historyAsked);
    QCOMPARE(scanState(r), before);

    // The record, rewritten in place with its verification.
    const QStringList json = recordFiles(r, "json");
    QCOMPARE(json.size(), 1);
    const QJsonObject rec = readJson(json.first());
    QCOMPARE(rec["outcome"].toString(), keepPhoto ? QString("completed") : QString("completed, verified"));
    const QJsonObject v = rec["verification"].toObject();
    QCOMPARE(v["status"].toString(), keepPhoto ? QString("verification failed") : QString("verified"));
    QVERIFY(QDateTime::fromString(v["ran_utc"].toString(), Qt::ISODate) >=
            QDateTime::fromString(rec["ended_utc"].toString(), Qt::ISODate));
    const QJsonArray cats = v["categories"].toArray();
    QCOMPARE(cats.size(), 2);
    QCOMPARE(cats[0].toObject()["checked"].toInt(), run.contacts.size());
    QCOMPARE(cats[0].toObject()["still_present"].toInt(), 0);
    QCOMPARE(jsonStrings(cats[1].toObject()["still_present_locations"]),
             keepPhoto ? QStringList{kept} : QStringList{});
    const QString first = pdfText(recordFiles(r, "pdf").value(0)).trimmed().section('\n', 0, 0).simplified();
    QCOMPARE(first, QString::fromUtf8("%1 \u2013 Erase completed: all %2 chosen items confirmed erased")
                        .arg(keepPhoto ? "Verification failed" : "Verified")
                        .arg(erased));
    if (qEnvironmentVariableIsSet("PURGATEX_REPORT_SHOTS"))
        QFile::copy(recordFiles(r, "pdf").value(0), QDir(qEnvironmentVariable("PURGATEX_REPORT_SHOTS"))
                                                        .filePath(keepPhoto ? "record-verification-failed.pdf"
                                                                            : "record-verified.pdf"));
    QVERIFY(click(r.w.ui->M_EraseComplated_PushButton_Home));
}

void TestEraseReport::verificationCouldNotRunWithoutThePhone()
{
    Rig r;
    r.phone.set("reboot.return_state", "absent"); // the phone does not come back
    r.w.m_verifyTimeoutMs = 3000;
    PrivateRun run;
    QVERIFY(erasePrivateChoice(r, run));
    QVERIFY(verificationOver(r));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Verify->text(),
             QString("Verification could not run: the phone did not come back and answer within 3 seconds"));
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    const QJsonObject v = readJson(recordFiles(r, "json").value(0))["verification"].toObject();
    QCOMPARE(v["status"].toString(), QString("could not run"));
    QCOMPARE(v["reason"].toString(), QString("the phone did not come back and answer within 3 seconds"));
    QVERIFY(pdfText(recordFiles(r, "pdf").value(0)).trimmed().startsWith(QString::fromUtf8("Not verified \u2013")));
}

void TestEraseReport::leavingThePageCancelsTheVerification()
{
    Rig r;
    PrivateRun run;
    // The phone is back but slow: it does not answer the first list.
    bool armed = false;
    connect(&r.sim, &CompanionSimulator::requestReceived, &r.sim, [&](quint16 type) {
        if (armed && type == proto::GetContact)
            r.sim.setSilent(true);
    });
    QVERIFY(erasePrivateChoice(r, run));
    const QString before = scanState(r);
    armed = true;
    QVERIFY(waitFor(r.w, [&] { return r.w.m_verifyListing == Contact; }, 60000));
    QVERIFY(r.w.ui->M_EraseCompleted_Label_Verify->text().startsWith("Verification: looking for"));
    QVERIFY(click(r.w.ui->M_EraseComplated_PushButton_Home));
    QVERIFY(r.w.ui->M_EraseCompleted_3->isHidden());
    const QJsonObject v = readJson(recordFiles(r, "json").value(0))["verification"].toObject();
    QCOMPARE(v["status"].toString(), QString("could not run"));
    QCOMPARE(v["reason"].toString(), QString("the report page was left before the check was done"));

    // The list comes late: it is dropped, the scan's records stay as they were.
    r.sim.setSilent(false);
    const int photosAsked = r.sim.count(proto::GetPhotoDir);
    const QStringList late = r.sim.data().lists[Contact] + QStringList{"c999;Zed Zulu;+15559990000;zed@example.org"};
    for (const QByteArray &frame : CompanionSimulator::listFrames(Contact, proto::joinRecords(late)))
        r.sim.sendFrame(frame);
    QVERIFY(waitFor(r.w, [&] { return r.w.m_verifyListing == -1; }));
    QCOMPARE(scanState(r), before);
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(r.sim.count(proto::GetPhotoDir), photosAsked);
}

// The user leaves while the phone still lists for the pass and scans again
// at once: the pass's list, which the phone answers first, stays out of the
// new scan's records, and the scan's own lists fill it.
void TestEraseReport::lateVerificationListStaysOutOfTheNextScan()
{
    Rig r;
    PrivateRun run;
    bool armed = false;
    connect(&r.sim, &CompanionSimulator::requestReceived, &r.sim, [&](quint16 type) {
        if (armed && type == proto::GetContact)
            r.sim.setSilent(true);
    });
    QVERIFY(erasePrivateChoice(r, run));
    armed = true;
    QVERIFY(waitFor(r.w, [&] { return r.w.m_verifyListing == Contact; }, 60000));
    armed = false;
    QVERIFY(click(r.w.ui->M_EraseComplated_PushButton_Home));
    QVERIFY(click(r.w.ui->S_Private_Button));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); }));
    QVERIFY(click(r.w.ui->EAll_Label_ToScan));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::StopGetPhoto) > 0; }));

    // The phone answers in order: the pass's list, then the photo stop.
    r.sim.setSilent(false);
    const QStringList late = r.sim.data().lists[Contact] + QStringList{"c999;Zed Zulu;+15559990000;zed@example.org"};
    for (const QByteArray &frame : CompanionSimulator::listFrames(Contact, proto::joinRecords(late)))
        r.sim.sendFrame(frame);
    r.sim.sendFrame(proto::FrameWriter(proto::StopGetPhotoBack).finish());
    QVERIFY(waitFor(r.w, [&] { return r.w.m_workPhase == Scanned; }, 60000));
    QCOMPARE(r.w.m_verifyListing, -1);
    QVERIFY(!r.w.m_contactMapIdData.contains("c999"));
    QCOMPARE(r.w.m_contactMapIdData.size(), r.sim.data().lists[Contact].size());
    QCOMPARE(r.w.m_photoDir, r.sim.data().lists[Photo]);
    QVERIFY(!r.w.m_listIncomplete[Contact]);
}

void TestEraseReport::failedItemsAreReportedAndRecorded()
{
    Rig r;
    const SimDataSet before = r.sim.data();
    const QString failedContact = SimDataSet::eraseKey(Contact, before.lists[Contact].at(3));
    const QString failedPhoto = SimDataSet::eraseKey(Photo, before.lists[Photo].at(2));
    r.sim.setUnerasableKeys({failedContact, failedPhoto});
    QVERIFY(connectRig(r));
    QVERIFY(scanAndConfirm(r, r.w.ui->S_All_Button));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(), QString("Completed"));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("2 items could not be erased (Contact: 1, Photo: 1). The rest of the selected data has been "
                     "erased permanently."));
    QTableWidget *table = r.w.ui->M_EraseCompleted_Table;
    QCOMPARE(table->rowCount(), 10); // Skype and Kik hold no data
    QCOMPARE(table->item(0, 0)->text(), QString("Contact"));
    QCOMPARE(table->item(0, 1)->text(), QString::number(before.lists[Contact].size()));
    QCOMPARE(table->item(0, 2)->text(), QString::number(before.lists[Contact].size() - 1));
    QCOMPARE(table->item(0, 3)->text(), QString("1"));
    QCOMPARE(table->item(0, 4)->text(), QString("0"));

    shoot(&r.w, "report-failures");
    // The record, read back against what the simulator received and failed.
    const QStringList json = recordFiles(r, "json");
    QCOMPARE(json.size(), 1);
    const QJsonObject rec = readJson(json.first());
    QCOMPARE(rec["outcome"].toString(), QString("completed with failures"));
    QCOMPARE(rec["verification"]["status"].toString(), QString("not applicable"));
    QVERIFY(r.w.ui->M_EraseCompleted_Label_Verify->isHidden());
    QCOMPARE(rec["scope"].toString(), QString("all"));
    QCOMPARE(rec["level"].toObject()["name"].toString(), QString("Low"));
    QCOMPARE(rec["level"].toObject()["value"].toInt(), 3);
    QCOMPARE(rec["phone"]["model"].toString(), QString("Nimbus Z7"));
    QCOMPARE(rec["phone"]["android_version"].toString(), QString("9"));
    QCOMPARE(rec["phone"]["serial_number"].toString(), QString("R58N91XKQ2B"));
    QCOMPARE(rec["phone"]["storage"]["phone_total"].toString(), QString("32 GB"));
    const QDateTime started = QDateTime::fromString(rec["started_utc"].toString(), Qt::ISODate);
    const QDateTime ended = QDateTime::fromString(rec["ended_utc"].toString(), Qt::ISODate);
    QVERIFY(started.isValid() && ended.isValid() && started <= ended);
    QCOMPARE(started.timeSpec(), Qt::UTC);

    const QMap<int, QStringList> received = keysReceived(r.sim);
    for (int c = 0; c < CategoryCount; ++c) {
        const QJsonObject cat = categoryOf(rec, eraseplan::categoryDisplayName(c));
        if (before.lists[c].isEmpty()) {
            QVERIFY(cat.isEmpty());
            continue;
        }
        const QString name = eraseplan::categoryDisplayName(c);
        QCOMPARE(cat["chosen"].toInt(), before.lists[c].size());
        QCOMPARE(cat["sent"].toInt(), received.value(c).size());
        // What the simulator still lists is exactly what the record says failed.
        QCOMPARE(cat["confirmed_erased"].toInt(), before.lists[c].size() - r.sim.data().lists[c].size());
        QStringList stillThere;
        for (const QString &item : r.sim.data().lists[c])
            stillThere << SimDataSet::eraseKey(Category(c), item);
        const QString failedList = c >= Photo ? "failed_locations" : "failed_ids";
        QVERIFY2(sorted(jsonStrings(cat[failedList])) == sorted(stillThere), qPrintable(name));
        QCOMPARE(cat["failed"].toInt(), stillThere.size());
        QCOMPARE(cat["not_sent"].toInt(), 0);
        QCOMPARE(cat["not_confirmed"].toInt(), 0);
    }
    QCOMPARE(jsonStrings(categoryOf(rec, "Contact")["failed_ids"]), QStringList{failedContact});

    const QStringList pdf = recordFiles(r, "pdf");
    QCOMPARE(pdf.size(), 1);
    QCOMPARE(QFileInfo(pdf.first()).completeBaseName(), QFileInfo(json.first()).completeBaseName());
    QVERIFY(QFileInfo(pdf.first()).fileName().endsWith("Z-R58N91XKQ2B.pdf"));
    const QString text = pdfText(pdf.first());
    const int chosen = rec["totals"]["chosen"].toInt();
    QCOMPARE(text.trimmed().section('\n', 0, 0).simplified(),
             QString::fromUtf8("Not verified \u2013 Erase completed with failures: %1 of %2 items confirmed erased")
                 .arg(chosen - 2)
                 .arg(chosen));
    QVERIFY(text.contains("R58N91XKQ2B"));
    QVERIFY(text.contains(failedPhoto));
    verifyNoContents(json + pdf, before);
}

// How a run is cut off as the first photo is asked for: contacts, calls and
// messages are answered, the photos are not.
enum class CutOff { Dropped, Unplugged, AppQuit };
Q_DECLARE_METATYPE(CutOff)

void TestEraseReport::droppedConnectionEndsOnInterruptedReport_data()
{
    QTest::addColumn<CutOff>("cutOff");
    QTest::newRow("connection dropped") << CutOff::Dropped;
    // The device link goes back to waiting for a phone: its pages stay
    // behind the report.
    QTest::newRow("phone unplugged") << CutOff::Unplugged;
    // The socket stays open; the companion app goes to the background and
    // quits, which the app watchdog finds.
    QTest::newRow("companion app quit") << CutOff::AppQuit;
}

void TestEraseReport::droppedConnectionEndsOnInterruptedReport()
{
    QFETCH(CutOff, cutOff);
    Rig r;
    const SimDataSet before = r.sim.data();
    QVERIFY(connectRig(r));
    QVERIFY(scanAndConfirm(r, r.w.ui->S_All_Button));
    if (cutOff == CutOff::AppQuit) {
        connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
                [&](const CompanionSimulator::EraseRecord &e) {
                    if (e.category != Photo)
                        return;
                    r.sim.setSilent(true);
                    r.sim.sendAppInactive();
                    r.phone.set("app.running", 0);
                });
    } else {
        if (cutOff == CutOff::Unplugged)
            connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
                    [&](const CompanionSimulator::EraseRecord &e) {
                        if (e.category == Photo)
                            r.phone.setState("absent");
                    });
        r.sim.setDropOnRequest(proto::ErasePhoto);
    }
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_EraseCompleted_3->isHidden(); }, 30000));
    QVERIFY(r.w.m_eraseProgress < 100);
    if (cutOff != CutOff::Dropped) {
        // The device link's own pages and notices come up behind the report.
        QTest::qWait(3000);
        QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
        QVERIFY(r.w.ui->A_MP_PleaseConnect_1->isHidden());
    }
    QVERIFY(r.w.ui->M_IsErasing_2->isHidden());
    QVERIFY(!r.phone.calls().contains("adb reboot"));

    const int text = before.lists[Contact].size() + before.lists[History].size() + before.lists[Message].size();
    int chosen = 0;
    for (const QStringList &list : before.lists)
        chosen += list.size();
    shoot(&r.w, "report-interrupted");
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(), QString("Erase interrupted"));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("The erase was interrupted: the link to the phone was lost. The phone confirmed %1 of %2 "
                     "chosen items as erased; the other %3 may still be on the phone.")
                 .arg(text)
                 .arg(chosen)
                 .arg(chosen - text));
    // Per category: chosen, confirmed erased, failed, not confirmed.
    QTableWidget *table = r.w.ui->M_EraseCompleted_Table;
    const auto row = [&](int i) {
        QStringList cells;
        for (int col = 0; col < 5; ++col)
            cells << table->item(i, col)->text();
        return cells.join(' ');
    };
    QCOMPARE(row(0), QString("Contact 24 24 0 0"));
    QCOMPARE(row(2), QString("Message 30 30 0 0"));
    QCOMPARE(row(3), QString("Photo 8 0 0 8"));
    QCOMPARE(row(4), QString("Audio 5 0 0 5"));

    const QStringList json = recordFiles(r, "json");
    QCOMPARE(json.size(), 1);
    const QJsonObject rec = readJson(json.first());
    QCOMPARE(rec["outcome"].toString(), QString("interrupted"));
    QCOMPARE(rec["outcome_reason"].toString(), QString("the link to the phone was lost"));
    QCOMPARE(rec["totals"]["confirmed_erased"].toInt(), text);
    const QMap<int, QStringList> received = keysReceived(r.sim);
    for (int c : {Contact, History, Message})
        QCOMPARE(categoryOf(rec, eraseplan::categoryDisplayName(c))["confirmed_erased"].toInt(), received.value(c).size());
    const QJsonObject photo = categoryOf(rec, "Photo");
    QCOMPARE(photo["confirmed_erased"].toInt(), 0);
    QCOMPARE(photo["not_confirmed"].toInt(), before.lists[Photo].size());
    // A phone that went with the first request erased none; an app that
    // quit may have erased what it never answered for: either way the
    // photos are not confirmed.
    if (cutOff != CutOff::AppQuit) {
        QVERIFY(received.value(Photo).size() <= 1);
        QCOMPARE(r.sim.data().lists[Photo].size(), before.lists[Photo].size());
    }
    QStringList locations;
    for (const QString &entry : before.lists[Photo])
        locations << SimDataSet::eraseKey(Photo, entry);
    QCOMPARE(jsonStrings(photo["not_confirmed_locations"]), locations);
    const QJsonObject whatsapp = categoryOf(rec, "WhatsApp");
    QCOMPARE(whatsapp["sent"].toInt(), 0);
    QCOMPARE(jsonStrings(whatsapp["not_sent_locations"]), before.lists[Whatsapp]);
    QCOMPARE(jsonStrings(whatsapp["not_sent_reasons"]), QStringList{"the erase was interrupted before they were sent"});

    const QString pdf = recordFiles(r, "pdf").value(0);
    QCOMPARE(pdfText(pdf).trimmed().section('\n', 0, 0).simplified(),
             QString::fromUtf8("Not verified \u2013 Erase interrupted: %1 of %2 items confirmed erased").arg(text).arg(chosen));
    verifyNoContents({json.first(), pdf}, before);
}

void TestEraseReport::cancelledRunSaysWhatWasErasedAndTheNextRunCarriesIt()
{
    Rig r;
    const SimDataSet before = r.sim.data();
    QVERIFY(connectRig(r));
    QVERIFY(scanAndConfirm(r, r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_SelectAll));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    // Facebook is answered; the phone goes quiet as Twitter is sent, and
    // erases nothing more.
    const QMetaObject::Connection quiet = connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
                                                  [&](const CompanionSimulator::EraseRecord &e) {
                                                      if (e.category == Twitter) {
                                                          r.sim.setSilent(true);
                                                          r.sim.setFailCategory(Twitter, true);
                                                      }
                                                  });
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseBack[Facebook] && r.sim.count(proto::EraseTwitter) == 3; }));
    QVERIFY(click(r.w.ui->M_IsErasing_PubuButton_Stop));
    QVERIFY(click(r.w.ui->T_D_IsErasing_Stop_PushButton_Ok));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::CancelErase) == 1; }));
    r.sim.sendFrame(proto::FrameWriter(proto::CancelEraseBack).finish());
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->T_D_EraseCancelled->isHidden(); }));
    QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
    QCOMPARE(r.w.ui->T_D_EraseCancelled_Label_Message->text(),
             QString("The erase was cancelled. Erased before the cancel: 4 of 14 chosen items (Facebook: 4). "
                     "Not confirmed erased: Twitter: 3, Viber: 2, WhatsApp: 5. Erase Now goes on with them."));
    QVERIFY(!r.w.ui->T_D_EraseCancelled_PushButton_Record->isHidden());
    shoot(r.w.ui->T_D_EraseCancelled, "notice-cancelled");

    const QStringList first = recordFiles(r, "json");
    QCOMPARE(first.size(), 1);
    const QJsonObject cancelled = readJson(first.first());
    QCOMPARE(cancelled["outcome"].toString(), QString("cancelled"));
    QCOMPARE(categoryOf(cancelled, "Facebook")["confirmed_erased"].toInt(), before.lists[Facebook].size());
    const QJsonObject twitter = categoryOf(cancelled, "Twitter");
    QCOMPARE(twitter["sent"].toInt(), keysReceived(r.sim).value(Twitter).size());
    QCOMPARE(twitter["not_confirmed"].toInt(), 3);
    QCOMPARE(twitter["confirmed_erased"].toInt(), 0);
    QCOMPARE(categoryOf(cancelled, "Viber")["not_sent"].toInt(), 2);
    QVERIFY(click(r.w.ui->T_D_EraseCancelled_PushButton_Ok));

    // Erase Now goes on; Facebook is not sent again, and the record of the
    // whole erase still counts it.
    disconnect(quiet);
    r.sim.setSilent(false);
    r.sim.setFailCategory(Twitter, false);
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QCOMPARE(r.sim.count(proto::EraseFacebook), before.lists[Facebook].size());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("All data on your device has been erased permanently!"));
    const QStringList both = recordFiles(r, "json");
    QCOMPARE(both.size(), 2);
    const QJsonObject completed = readJson(both.at(0))["outcome"].toString() == "cancelled" ? readJson(both.at(1))
                                                                                            : readJson(both.at(0));
    QCOMPARE(completed["outcome"].toString(), QString("completed"));
    QCOMPARE(completed["totals"]["confirmed_erased"].toInt(), 14);
    QCOMPARE(categoryOf(completed, "Facebook")["answered_in_earlier_run_started_utc"].toString(),
             cancelled["started_utc"].toString());
    QVERIFY(!categoryOf(completed, "Twitter").contains("answered_in_earlier_run_started_utc"));
}

void TestEraseReport::runAfterCancelCountsWhatIsChosenNow_data()
{
    QTest::addColumn<bool>("rescan");
    QTest::newRow("a photo unticked since") << false;
    QTest::newRow("a new scan since") << true;
}

// A private run of a contact row and three photos is cancelled as soon as it
// starts: the contacts are answered, the photos never sent. The user unticks
// a photo (or scans again and ticks afresh) and erases: the report and the
// record count what the phone confirmed and what is chosen now, nothing the
// user no longer chose, and nothing of an earlier scan's run.
void TestEraseReport::runAfterCancelCountsWhatIsChosenNow()
{
    QFETCH(bool, rescan);
    Rig r;
    QVERIFY(chooseContactAndThreePhotos(r));
    const QStringList contacts = r.w.m_contactToEraseList;
    QVERIFY(confirmPrivate(r));
    QVERIFY(eraseNow(r));
    QVERIFY(cancelAtOnce(r));
    QCOMPARE(keysReceived(r.sim).keys(), QList<int>{Contact});
    const QJsonObject cancelled = lastRecord(r);
    QCOMPARE(categoryOf(cancelled, "Photo")["not_sent"].toInt(), 3);

    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Back));
    if (rescan) {
        QVERIFY(scanAndConfirm(r, r.w.ui->S_Private_Button));
        QVERIFY(tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Contact, "tableContactWidget", {1}));
        QVERIFY(tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Photo, "tablePhotoWidget", {2}));
    } else {
        QVERIFY(tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Photo, "tablePhotoWidget", {2}));
    }
    const QStringList contactsNow = r.w.m_contactToEraseList;
    const QStringList photosNow = r.w.m_photoToEraseList;
    QCOMPARE(photosNow.size(), rescan ? 1 : 2);
    const int sentBefore = r.sim.eraseRequests().size();
    QVERIFY(confirmPrivate(r));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    QStringList sentNow;
    for (const auto &e : r.sim.eraseRequests().mid(sentBefore))
        sentNow << e.key;
    QCOMPARE(sorted(sentNow), sorted((rescan ? contactsNow : QStringList()) + photosNow));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(), QString(kAllErased));
    const QJsonObject rec = lastRecord(r);
    QCOMPARE(rec["outcome"].toString(), QString("completed"));
    // The contacts answered before the cancel belong to this erase only when
    // no scan came between.
    const int chosen = photosNow.size() + (rescan ? contactsNow.size() : contacts.size());
    QCOMPARE(rec["totals"]["chosen"].toInt(), chosen);
    QCOMPARE(rec["totals"]["confirmed_erased"].toInt(), chosen);
    QCOMPARE(rec["totals"]["not_sent"].toInt(), 0);
    const QJsonObject photo = categoryOf(rec, "Photo");
    QCOMPARE(sorted(jsonStrings(photo["not_sent_locations"])), QStringList());
    QCOMPARE(photo["chosen"].toInt(), photosNow.size());
    QCOMPARE(categoryOf(rec, "Contact").contains("answered_in_earlier_run_started_utc"), !rescan);
}

void TestEraseReport::appRunAfterCancelErasesWhatShowsTicked_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::newRow("only the app erased before the cancel") << QStringList{"EApp_RatioButton_Facebook"};
    QTest::newRow("with an app the run had not reached")
        << QStringList{"EApp_RatioButton_Facebook", "EApp_RatioButton_Twitter"};
}

// An app run is cancelled as soon as it starts: Facebook, its first batch,
// is answered before the cancel. The apps still show ticked on the confirm
// page, and Erase Now goes on with what shows ticked, as a private run does:
// Facebook is not sent again and is reported as erased before the cancel.
void TestEraseReport::appRunAfterCancelErasesWhatShowsTicked()
{
    QFETCH(QStringList, ticked);
    Rig r;
    const SimDataSet before = r.sim.data();
    QVERIFY(connectRig(r));
    QVERIFY(scanAndConfirm(r, r.w.ui->S_App_Button));
    for (const QString &name : ticked)
        QVERIFY(click(r.w.findChild<QAbstractButton *>(name)));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    QVERIFY(eraseNow(r));
    QVERIFY(cancelAtOnce(r));
    QVERIFY(r.w.m_eraseBack[Facebook]);
    QCOMPARE(r.sim.data().lists[Facebook].size(), 0);
    for (const QString &name : ticked)
        QVERIFY2(r.w.findChild<QAbstractButton *>(name)->isChecked(), qPrintable(name));

    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] {
        return r.w.m_eraseProgress == 100 || !r.w.ui->T_D_SelectedItemLessOne->isHidden();
    }));
    QVERIFY(r.w.ui->T_D_SelectedItemLessOne->isHidden());
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(), QString(kAllErased));
    const QMap<int, QStringList> received = keysReceived(r.sim);
    QCOMPARE(received.value(Facebook), before.lists[Facebook]); // once
    QCOMPARE(received.value(Twitter).size(), ticked.size() > 1 ? before.lists[Twitter].size() : 0);
    for (const QString &name : ticked)
        QVERIFY2(!r.w.findChild<QAbstractButton *>(name)->isChecked(), qPrintable(name));

    const QJsonObject rec = lastRecord(r);
    QCOMPARE(rec["outcome"].toString(), QString("completed"));
    const QJsonObject facebook = categoryOf(rec, "Facebook");
    QCOMPARE(facebook["confirmed_erased"].toInt(), before.lists[Facebook].size());
    QVERIFY(facebook.contains("answered_in_earlier_run_started_utc"));
    int chosen = 0;
    for (const QStringList &keys : received)
        chosen += keys.size();
    QCOMPARE(rec["totals"]["chosen"].toInt(), chosen);
    QCOMPARE(rec["totals"]["confirmed_erased"].toInt(), chosen);
}

void TestEraseReport::batchUnansweredBeforeCancelIsNotCalledFailed_data()
{
    QTest::addColumn<bool>("untickOne");
    QTest::newRow("sent again as it was") << false;
    QTest::newRow("a photo unticked since") << true;
}

// The phone erases the photo batch, and the cancel comes before its answer:
// the companion app answers only the cancel. The next run sends the photos
// again and the phone, which no longer has them, fails them. Nothing says
// whether they were erased before the cancel or could not be erased at all:
// the report calls them not confirmed, never erased nor failed; a photo
// unticked since is no part of the run.
void TestEraseReport::batchUnansweredBeforeCancelIsNotCalledFailed()
{
    QFETCH(bool, untickOne);
    Rig r;
    QVERIFY(chooseContactAndThreePhotos(r));
    const QStringList photos = r.w.m_photoToEraseList;
    const int contacts = r.w.m_contactToEraseList.size();
    const QMetaObject::Connection hold = connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
                                                 [&](const CompanionSimulator::EraseRecord &e) {
                                                     if (e.category == Photo)
                                                         r.sim.setHoldEraseAnswers(true);
                                                 });
    QVERIFY(confirmPrivate(r));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.sim.heldEraseAnswers() > 0; }));
    disconnect(hold);
    QVERIFY(cancelAtOnce(r));
    r.sim.setHoldEraseAnswers(false);
    for (const QString &entry : r.sim.data().lists[Photo])
        QVERIFY(!photos.contains(SimDataSet::eraseKey(Photo, entry))); // gone, unanswered
    QCOMPARE(r.w.ui->T_D_EraseCancelled_Label_Message->text(),
             QString("The erase was cancelled. Erased before the cancel: %1 of %2 chosen items (Contact: %1). "
                     "Not confirmed erased: Photo: 3. Erase Now goes on with them.")
                 .arg(contacts)
                 .arg(contacts + 3));

    QStringList photosNow = photos;
    if (untickOne) {
        QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Back));
        QVERIFY(tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Photo, "tablePhotoWidget", {2}));
        photosNow = r.w.m_photoToEraseList;
        QCOMPARE(photosNow.size(), 2);
        QVERIFY(confirmPrivate(r));
    }
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QCOMPARE(keysReceived(r.sim).value(Photo), photos + photosNow);
    const int n = photosNow.size();
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("%1 items are not confirmed erased (Photo: %1): they may already have been erased before the "
                     "cancel. The rest of the selected data has been erased permanently.")
                 .arg(n));
    if (!untickOne)
        shoot(&r.w, "report-not-confirmed");
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(1, 0)->text(), QString("Photo"));
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(1, 3)->text(), QString("0")); // failed
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(1, 4)->text(), QString::number(n)); // not confirmed

    const QJsonObject rec = lastRecord(r);
    QCOMPARE(rec["totals"]["chosen"].toInt(), contacts + n);
    QCOMPARE(rec["totals"]["confirmed_erased"].toInt(), contacts);
    const QJsonObject photo = categoryOf(rec, "Photo");
    QCOMPARE(photo["failed"].toInt(), 0);
    QCOMPARE(photo["not_confirmed"].toInt(), n);
    QCOMPARE(photo["failed_when_sent_again"].toInt(), n);
    QCOMPARE(jsonStrings(photo["failed_when_sent_again_locations"]), photosNow);
    QCOMPARE(jsonStrings(photo["failed_locations"]), QStringList());
    const QString pdf = pdfText(r.w.m_recordWritten.pdfPath);
    QVERIFY2(pdf.simplified().contains(QString("Photo: %1 items sent before the cancel without an answer").arg(n)),
             qPrintable(pdf));
}

void TestEraseReport::closingDuringAnEraseLeavesAnInterruptedRecord_data()
{
    QTest::addColumn<bool>("closeMessage");
    QTest::newRow("close button") << false;
    // Alt+F4, the taskbar, Windows ending the session, taskkill without /f.
    QTest::newRow("close message to the window, twice") << true;
}

void TestEraseReport::closingDuringAnEraseLeavesAnInterruptedRecord()
{
    QFETCH(bool, closeMessage);
    Rig r;
    QVERIFY(connectRig(r));
    QVERIFY(scanAndConfirm(r, r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    r.sim.setSilent(true);
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::EraseTwitter) == 3; }));
    r.phone.setTask(4242, "Purgatex.exe"); // the stand-in taskkill only records
    if (closeMessage) {
        QVERIFY(!r.w.close()); // the window stays until the exit command ends the program
        QVERIFY(!r.w.close());
        QVERIFY(r.w.isVisible());
    } else {
        QVERIFY(click(r.w.ui->S_Close_Button));
    }
    const QJsonObject rec = readJson(recordFiles(r, "json").value(0));
    QCOMPARE(rec["outcome"].toString(), QString("interrupted"));
    QCOMPARE(rec["outcome_reason"].toString(), QString("the program was closed during the erase"));
    QCOMPARE(categoryOf(rec, "Twitter")["not_confirmed"].toInt(), 3);
    QVERIFY(waitFor(r.w, [&] { return r.phone.calls().contains("taskkill /f /im Purgatex.exe"); }));
    QCOMPARE(r.phone.calls().count("taskkill /f /im Purgatex.exe"), 1);
}

void TestEraseReport::folderThatCannotBeWrittenIsReportedOnThePage()
{
    Rig r;
    QFile blocker(r.records.filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    r.w.m_recordsFolder = blocker.fileName() + "/records";
    QVERIFY(connectRig(r));
    QVERIFY(scanAndConfirm(r, r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Viber));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QVERIFY(r.w.ui->M_EraseCompleted_PushButton_Record->isHidden());
    shoot(&r.w, "report-record-not-saved");
    const QString line = r.w.ui->M_EraseCompleted_Label_Record->text();
    QVERIFY2(line.startsWith("The erase record could not be saved in " + QDir::toNativeSeparators(r.w.m_recordsFolder)),
             qPrintable(line));
    QVERIFY(!r.w.ui->M_EraseCompleted_Label_Record->isHidden());
}

// Catches what the window asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

void TestEraseReport::recordLinkOpensThePdf()
{
    Rig r;
    QVERIFY(connectRig(r));
    QVERIFY(scanAndConfirm(r, r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Viber));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    const bool clicked = click(r.w.ui->M_EraseCompleted_PushButton_Record);
    QDesktopServices::unsetUrlHandler("file");
    QVERIFY(clicked);
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(recordFiles(r, "pdf").value(0))});
    QVERIFY(r.w.ui->M_EraseCompleted_Label_Record->text().endsWith(".pdf"));
}

QTEST_MAIN(TestEraseReport)
#include "tst_erasereport.moc"
