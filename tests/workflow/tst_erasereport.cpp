#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "support/windowrig.h"

#include "protocol/frame.h"
#include "protocol/records.h"
#include "support/categorynames.h"
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

using rig::click;
using rig::clickRow;
using rig::flushToSimulator;
using rig::kWait;
using rig::startErase;
using rig::waitFor;

// The records folder outlives the window, which may write a record as it
// closes.
struct RecordsFolder
{
    QTemporaryDir records;
};

struct Rig : RecordsFolder, rig::Rig
{
    explicit Rig(const SimDataSet &data = SimDataSet::generate())
        : rig::Rig(data)
    {
        w.m_recordsFolder = records.path();
        sim.setDefaultSmsApp(true);
    }
};

// Connected, with the phone's particulars shown as after a real connection;
// the connection supervision is then left to the test.
bool connectRig(Rig &r)
{
    if (!r.connect())
        return false;
    r.w.newTCPConnected();
    const bool shown = waitFor(r.w, [&] { return r.w.ui->MP_Label_SerialNumber->text() == "R58N91XKQ2B"; });
    r.w.m_timerNewTCPConnected->stop();
    r.w.m_timerHomeInfoReadable->stop();
    return shown;
}

bool eraseNow(Rig &r)
{
    return startErase(r.w);
}

// With PURGATEX_REPORT_SHOTS naming a folder, pictures of what the user sees
// are saved there for a look (run under xvfb-run for the real look).
void shoot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("PURGATEX_REPORT_SHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    // The layout and styling the last changes asked for are done first.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    w->grab().save(QDir(dir).filePath(name + ".png"));
}

bool recordOnDisk(Rig &r);

// The records in the folder once every record asked for is on disk.
QStringList recordFiles(Rig &r, const QString &suffix)
{
    recordOnDisk(r);
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
    if (!r.scan(r.w.ui->S_Private_Button))
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

// The first sentence of the report of a run that is not an All run.
QString erasedText(int erased)
{
    return erased == 0   ? QString("Nothing was erased.")
           : erased == 1 ? QString("1 item erased permanently.")
                         : QString("%1 items erased permanently.").arg(erased);
}

// The record is written on a thread of its own: what is asked for is on
// disk once the writer has nothing left to write.
bool recordOnDisk(Rig &r)
{
    return waitFor(r.w, [&] { return !r.w.eraseRecordWriting(); });
}

// The record of the run that ended last.
QJsonObject lastRecord(Rig &r)
{
    if (!recordOnDisk(r))
        return QJsonObject();
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
    return connectRig(r) && r.scan(r.w.ui->S_Private_Button)
           && tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Contact, "tableContactWidget", {1})
           && tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Photo, "tablePhotoWidget", {1, 2, 3});
}

bool confirmPrivate(Rig &r)
{
    return click(r.w.ui->EP_IsScanning_PushButton_Erase)
           && waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); });
}

// Erase Now from the private results: the phone erases the photo batch and
// holds its answer back.
bool eraseHoldingThePhotoAnswer(Rig &r)
{
    const QMetaObject::Connection hold = QObject::connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
                                                          [&](const CompanionSimulator::EraseRecord &e) {
                                                              if (e.category == Photo)
                                                                  r.sim.setHoldEraseAnswers(true);
                                                          });
    const bool held = confirmPrivate(r) && eraseNow(r) && waitFor(r.w, [&] { return r.sim.heldEraseAnswers() > 0; });
    QObject::disconnect(hold);
    return held;
}

const char *const kAllErased = "All data on your device has been erased permanently!";

using VerifyStatus = workflow::EraseAccount::Verification::Status;

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
    void categoryNotReadIsNamedAndNeverErased_data();
    void categoryNotReadIsNamedAndNeverErased();
    void verificationRunsOnlyOnTheErasedPhone_data();
    void verificationRunsOnlyOnTheErasedPhone();
    void entryTheCheckCannotReadIsNeverGone_data();
    void entryTheCheckCannotReadIsNeverGone();
    void verificationListCutAtItsBoundIsNotReadWhole();
    void forgedRecordInAFieldIsNeverErased_data();
    void forgedRecordInAFieldIsNeverErased();
    void lateAnswerCountsForItsOwnRunOnly_data();
    void lateAnswerCountsForItsOwnRunOnly();
    void contradictoryCountsLoseNoFailure();
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
    QVERIFY(r.scan(r.w.ui->S_Private_Button));
    auto *contacts = r.w.findChild<QTableWidget *>("tableContactWidget");
    QVERIFY(clickRow(contacts, 1));
    const int chosen = r.w.m_contactToEraseList.size();
    if (failures)
        r.sim.setUnerasableKeys({r.w.m_contactToEraseList.first()});
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    if (appInBackground) {
        // The companion app reports itself in the background: the watchdog
        // runs beside the erase, and must not outlive the reboot.
        r.sim.sendAppInactive();
        QVERIFY(waitFor(r.w, [&] { return r.w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive(); }));
    }
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(), QString("Completed"));
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QCOMPARE(text, failures ? erasedText(chosen - 1) + " 1 item could not be erased (Contact: 1)."
                            : erasedText(chosen));
    QVERIFY(!r.w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive());

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
                       : erasedText(erased));
    // The title says so when the phone still lists what it reported erased.
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(),
             keepPhoto ? QString("Erase not verified") : QString("Completed"));
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
    QVERIFY(r.scan(r.w.ui->S_All_Button));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(), QString("Completed"));
    int listed = 0;
    for (const QStringList &list : before.lists)
        listed += list.size();
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("%1 items erased permanently. 2 items could not be erased (Contact: 1, Photo: 1).")
                 .arg(listed - 2));
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
        const QJsonObject cat = categoryOf(rec, expected::categoryName(c));
        if (before.lists[c].isEmpty()) {
            QVERIFY(cat.isEmpty());
            continue;
        }
        const QString name = expected::categoryName(c);
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
    QVERIFY(r.scan(r.w.ui->S_All_Button));
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
        // The phone goes with the connection, as the photo request comes (a
        // request the connection drops is never handled as an erase).
        if (cutOff == CutOff::Unplugged)
            connect(&r.sim, &CompanionSimulator::requestReceived, &r.sim, [&](quint16 typeId) {
                if (typeId == proto::ErasePhoto)
                    r.phone.setState("absent");
            });
        r.sim.setDropOnRequest(proto::ErasePhoto);
    }
    QCOMPARE(r.w.m_linkPage, r.w.ui->A_MP_ConnectedInfomation_5);
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_EraseCompleted_3->isHidden(); }, 30000));
    QVERIFY(r.w.m_eraseProgress < 100);
    if (cutOff != CutOff::Dropped) {
        // The device link's own pages and notices come up behind the report:
        // once the link has turned from the phone page to a page of its own,
        // that page and its notices stay behind the report. (An unplugged
        // phone's link comes back through the session's supervision, which
        // this rig leaves to the test: the session gives up at once.)
        if (cutOff == CutOff::Unplugged)
            r.w.handBackToDeviceLink();
        QVERIFY(waitFor(r.w, [&] { return r.w.m_linkPage != r.w.ui->A_MP_ConnectedInfomation_5; }, 30000));
        QVERIFY(r.w.m_linkPage);
        QVERIFY(r.w.m_linkPage->isHidden());
        for (QWidget *notice : qAsConst(r.w.m_linkNotices))
            QVERIFY2(notice->isHidden(), qPrintable(notice->objectName()));
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
        QCOMPARE(categoryOf(rec, expected::categoryName(c))["confirmed_erased"].toInt(), received.value(c).size());
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
    QVERIFY(r.scan(r.w.ui->S_App_Button));
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
    // The link to the record shows once the record is on disk.
    QVERIFY(recordOnDisk(r));
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
    // Twitter's batch was given up on and is sent again as it was: the
    // phone's answer tells of these keys whichever batch it answers.
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(), QString("14 items erased permanently."));
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
        QVERIFY(r.scan(r.w.ui->S_Private_Button));
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
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             erasedText(photosNow.size() + (rescan ? contactsNow.size() : contacts.size())));
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
    QVERIFY(r.scan(r.w.ui->S_App_Button));
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
    const QMap<int, QStringList> received = keysReceived(r.sim);
    int sent = 0;
    for (const QStringList &keys : received)
        sent += keys.size();
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(), erasedText(sent));
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
    QVERIFY(eraseHoldingThePhotoAnswer(r));
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
             QString("%1 %2 items are not confirmed erased (Photo: %2): they may already have been erased before "
                     "the cancel.")
                 .arg(erasedText(contacts))
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
    const QString pdf = pdfText((recordOnDisk(r), r.w.m_recordWritten).pdfPath);
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
    QVERIFY(r.scan(r.w.ui->S_App_Button));
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
    // The companion app was told to close.
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::CloseProgram) == 1; }));
}

void TestEraseReport::folderThatCannotBeWrittenIsReportedOnThePage()
{
    Rig r;
    QFile blocker(r.records.filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    r.w.m_recordsFolder = blocker.fileName() + "/records";
    QVERIFY(connectRig(r));
    QVERIFY(r.scan(r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Viber));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
    QVERIFY(recordOnDisk(r));
    QVERIFY(r.w.ui->M_EraseCompleted_PushButton_Record->isHidden());
    shoot(&r.w, "report-record-not-saved");
    const QString line = r.w.ui->M_EraseCompleted_Label_Record->text();
    QVERIFY2(line.startsWith("The erase record could not be saved in " + QDir::toNativeSeparators(r.w.m_recordsFolder)),
             qPrintable(line));
    QVERIFY(!r.w.ui->M_EraseCompleted_Label_Record->isHidden());
}


namespace {

QAbstractButton *scopeButton(Rig &r, const QString &scope)
{
    return scope == "all" ? r.w.ui->S_All_Button : scope == "app" ? r.w.ui->S_App_Button : r.w.ui->S_Private_Button;
}

// The row of the report table that names a category, or -1.
int reportRow(Rig &r, const QString &category)
{
    QTableWidget *table = r.w.ui->M_EraseCompleted_Table;
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0) && table->item(row, 0)->text() == category)
            return row;
    return -1;
}

QString firstPdfLine(const QString &pdf)
{
    return pdfText(pdf).trimmed().section('\n', 0, 0).simplified();
}

// The row of a keyed table that shows this number, or -1.
int rowOfNumber(QTableWidget *table, const QString &number)
{
    for (int row = 1; row < table->rowCount(); ++row)
        if (table->item(row, 2) && table->item(row, 2)->text() == number)
            return row;
    return -1;
}

} // namespace

void TestEraseReport::categoryNotReadIsNamedAndNeverErased_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("gateClosed"); // else: the list is answered with its failure reply
    QTest::newRow("all run, contact list refused") << "all" << int(Contact) << false;
    QTest::newRow("all run, contact gate closed") << "all" << int(Contact) << true;
    QTest::newRow("all run, photo list refused") << "all" << int(Photo) << false;
    QTest::newRow("private run, contact list refused") << "private" << int(Contact) << false;
    QTest::newRow("app run, Twitter list refused") << "app" << int(Twitter) << false;
}

// The phone does not let a category be read. Whatever else is erased, the
// page and the record name it as not read and not erased, the run is not
// "completed", and the phone still holds every item of it.
void TestEraseReport::categoryNotReadIsNamedAndNeverErased()
{
    QFETCH(QString, scope);
    QFETCH(int, category);
    QFETCH(bool, gateClosed);
    Rig r;
    const SimDataSet before = r.sim.data();
    const QString name = expected::categoryName(category);
    if (gateClosed)
        r.sim.setGates(category != Contact, true, true, true);
    else
        r.sim.setListRefused(Category(category), true);
    QVERIFY(connectRig(r));
    QVERIFY(r.scan(scopeButton(r, scope)));
    if (scope == "private") {
        QVERIFY(tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Photo, "tablePhotoWidget", {1}));
        QVERIFY(confirmPrivate(r));
    } else if (scope == "app") {
        QVERIFY(!r.w.ui->EApp_RatioButton_Twitter->isEnabled());
        QVERIFY(click(r.w.ui->EApp_RatioButton_Facebook));
        QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    }
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    // From outside: nothing of it was asked for, the phone holds all of it.
    QVERIFY(!keysReceived(r.sim).contains(category));
    QCOMPARE(r.sim.data().lists[category], before.lists[category]);
    int erased = 0;
    for (const QStringList &keys : keysReceived(r.sim))
        erased += keys.size();

    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QCOMPARE(text, QString("%1 The phone did not let the program read %2: nothing of it was erased.")
                       .arg(erasedText(erased), name));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(), QString("Completed"));
    const int row = reportRow(r, name);
    QVERIFY(row >= 0);
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(row, 1)->text(), QString("not read"));
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(row, 2)->text(), QString("0"));
    shoot(&r.w, QStringLiteral("report-not-read-%1").arg(QTest::currentDataTag()).replace(' ', '-'));

    const QJsonObject rec = lastRecord(r);
    QCOMPARE(rec["outcome"].toString(), QString("completed with failures"));
    const QJsonObject cat = categoryOf(rec, name);
    QVERIFY(cat["list_not_read"].toBool());
    QCOMPARE(cat["list_not_read_reason"].toString(),
             gateClosed ? QString("the companion app may not read them on this phone")
                        : QString("the phone answered that it could not list them"));
    QCOMPARE(cat["confirmed_erased"].toInt(), 0);
    QCOMPARE(rec["totals"]["confirmed_erased"].toInt(), erased);
    QCOMPARE(firstPdfLine((recordOnDisk(r), r.w.m_recordWritten).pdfPath),
             QString::fromUtf8("Not verified \u2013 Erase completed with failures: %1 of %1 %2 confirmed erased; not "
                               "read from the phone: %3")
                 .arg(erased)
                 .arg(erased == 1 ? "item" : "items")
                 .arg(name));
}

void TestEraseReport::verificationRunsOnlyOnTheErasedPhone_data()
{
    QTest::addColumn<bool>("appTellsAnother");
    QTest::addColumn<bool>("adbListsAnother");
    QTest::newRow("another phone") << true << true;
    QTest::newRow("the companion app tells another serial") << true << false;
    QTest::newRow("adb lists another serial") << false << true;
}

// While the phone restarts, another one is plugged in: its lists hold none of
// the items erased, yet the pass never looks at them.
void TestEraseReport::verificationRunsOnlyOnTheErasedPhone()
{
    QFETCH(bool, appTellsAnother);
    QFETCH(bool, adbListsAnother);
    Rig r;
    // As the device link leaves it after reading the serial number.
    r.w.m_serialNo = "R58N91XKQ2B";
    r.w.m_gotSerial = true;
    PrivateRun run;
    QVERIFY(erasePrivateChoice(r, run));
    SimDataSet other = SimDataSet::generate(5);
    if (appTellsAnother)
        other.homeInfo.replace("R58N91XKQ2B", "ZX81OTHER77");
    r.sim.swapPhoneOnNextConnection(other);
    if (adbListsAnother)
        r.phone.set("reboot.return_serial", "ZX81OTHER77");
    const int listsAsked = r.sim.count(proto::GetContact) + r.sim.count(proto::GetPhotoDir);

    QVERIFY(verificationOver(r));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Verify->text(),
             QString("Verification could not run: a different phone is connected"));
    QCOMPARE(r.sim.data().homeInfo, other.homeInfo); // the other phone answered
    QCOMPARE(r.sim.count(proto::GetContact) + r.sim.count(proto::GetPhotoDir), listsAsked);
    const QJsonObject rec = lastRecord(r);
    QCOMPARE(rec["outcome"].toString(), QString("completed"));
    QCOMPARE(rec["verification"]["status"].toString(), QString("could not run"));
    QCOMPARE(rec["verification"]["reason"].toString(), QString("a different phone is connected"));
    QCOMPARE(rec["phone"]["serial_number"].toString(), QString("R58N91XKQ2B"));
    QVERIFY(firstPdfLine((recordOnDisk(r), r.w.m_recordWritten).pdfPath).startsWith(QString::fromUtf8("Not verified \u2013")));
}

void TestEraseReport::entryTheCheckCannotReadIsNeverGone_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("line");
    QTest::newRow("photo listed without its location")
        << int(Photo) << "no location" << "Not verified: the phone listed 1 Photo entry the check cannot read";
    QTest::newRow("photo listed with its name in another case")
        << int(Photo) << "case"
        << "Not verified: the phone listed 1 Photo entry in another form, which may be what was erased";
    QTest::newRow("contacts listed without their id")
        << int(Contact) << "no id" << "Not verified: the phone listed 2 Contact entries the check cannot read";
}

// The phone reports the items erased and lists them again in a form the
// pass cannot match to a key: the category could not be checked, it is
// never "all gone", and the run is never "verified".
void TestEraseReport::entryTheCheckCannotReadIsNeverGone()
{
    QFETCH(int, category);
    QFETCH(QString, form);
    QFETCH(QString, line);
    Rig r;
    QHash<QString, QString> relisted;
    for (const QString &item : r.sim.data().lists[category]) {
        const QStringList f = item.split(';');
        QString entry;
        if (form == "no location")
            entry = QStringList{f.at(0), f.at(1), f.at(2), QString()}.join(';');
        else if (form == "case")
            entry = item.toUpper();
        else
            entry = ";" + f.mid(1).join(';');
        relisted.insert(SimDataSet::eraseKey(Category(category), item), entry);
    }
    r.sim.setRelisted(relisted);
    PrivateRun run;
    QVERIFY(erasePrivateChoice(r, run));
    QVERIFY(verificationOver(r));
    // From outside: the phone lists none of the erased keys as they were.
    for (const QString &item : r.sim.data().lists[category]) {
        const QString key = SimDataSet::eraseKey(Category(category), item);
        QVERIFY(key != run.photo && !run.contacts.contains(key));
    }
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Verify->text(), line);
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Title->text(), QString("Completed"));
    shoot(&r.w, QStringLiteral("report-could-not-check-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
    const int row = reportRow(r, expected::categoryName(category));
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(row, 5)->text(), QString("could not check"));
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(1 - row, 5)->text(), QString("all gone"));
    const QJsonObject rec = lastRecord(r);
    QCOMPARE(rec["outcome"].toString(), QString("completed"));
    QCOMPARE(rec["verification"]["status"].toString(), QString("could not check"));
    const QJsonObject v = rec["verification"]["categories"].toArray().at(row).toObject();
    QVERIFY(v["could_not_check"].toBool());
    QCOMPARE(v["still_present"].toInt(), 0);
    QCOMPARE(v["unreadable_entries"].toInt(), form == "case" ? 0 : (category == Photo ? 1 : run.contacts.size()));
    if (form == "case")
        QCOMPARE(jsonStrings(v["listed_in_another_form_locations"]), QStringList{run.photo});
}

void TestEraseReport::verificationListCutAtItsBoundIsNotReadWhole()
{
    Rig r;
    PrivateRun run;
    QVERIFY(erasePrivateChoice(r, run));
    r.w.m_maxListRecords = 10; // the pass's contact list goes beyond it, its photo list does not
    QVERIFY(verificationOver(r));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Verify->text(),
             QString("Not verified: the Contact list could not be read whole"));
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(0, 5)->text(), QString("not read whole"));
    const QJsonObject v = lastRecord(r)["verification"].toObject();
    QCOMPARE(v["status"].toString(), QString("could not check"));
    QVERIFY(v["categories"].toArray().at(0).toObject()["list_incomplete"].toBool());
}

void TestEraseReport::forgedRecordInAFieldIsNeverErased_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<int>("category");
    QTest::newRow("private run, a message body") << "private" << int(Message);
    QTest::newRow("all run, a message body") << "all" << int(Message);
    QTest::newRow("private run, a contact name") << "private" << int(Contact);
}

// A spammer's message (or a contact's name) holds the record separator and
// a record carrying the id of another sender's message. Nothing of the
// other sender's is erased: the id is listed twice, so it is never sent, and
// the record says so.
void TestEraseReport::forgedRecordInAFieldIsNeverErased()
{
    QFETCH(QString, scope);
    QFETCH(int, category);
    SimDataSet data = SimDataSet::generate();
    // Another sender's record, the only one of its number.
    QString victim;
    for (const QString &item : data.lists[category]) {
        int same = 0;
        for (const QString &other : data.lists[category])
            same += other.section(';', 2, 2) == item.section(';', 2, 2) ? 1 : 0;
        if (same == 1 && !item.section(';', 2, 2).isEmpty()) {
            victim = item;
            break;
        }
    }
    QVERIFY(!victim.isEmpty());
    const QString victimId = victim.section(';', 0, 0);
    const QString spammer = "+15550999";
    const QString forged = category == Message
        ? QString("m900;Spammer;%1;Win a prize ,*#*,%2;Spammer;%1;claim it;2026-11-01 09:00:00").arg(spammer, victimId)
        : QString("c900;Eve;%1;eve@example.org;;Eve Inc ,*#*,%2;Eve;%1;;;").arg(spammer, victimId);
    data.lists[category] << forged;
    Rig r(data);
    QVERIFY(connectRig(r));
    QVERIFY(r.scan(scopeButton(r, scope)));
    const QString ownId = category == Message ? "m900" : "c900";
    if (scope == "private") {
        QAbstractButton *button =
            category == Message ? r.w.ui->EP_IsScanning_PushButton_Message : r.w.ui->EP_IsScanning_PushButton_Contact;
        QVERIFY(click(button));
        auto *table = r.w.categoryTable(category);
        const int victimRow = rowOfNumber(table, victim.section(';', 2, 2));
        const int spamRow = rowOfNumber(table, spammer);
        QVERIFY(victimRow > 0 && spamRow > 0);
        // The other sender's row is shown and cannot be ticked.
        QVERIFY(clickRow(table, victimRow));
        QCOMPARE(table->item(victimRow, 0)->checkState(), Qt::Unchecked);
        QVERIFY(!table->item(victimRow, 0)->toolTip().isEmpty());
        QVERIFY(clickRow(table, spamRow));
        QCOMPARE(table->item(spamRow, 0)->checkState(), Qt::Checked);
        QCOMPARE(r.w.m_eraseSelected[category], true);
        QVERIFY(confirmPrivate(r));
    }
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    // From outside: the other sender's record was never asked for and is
    // still on the phone; the spammer's own was erased.
    const QStringList sent = keysReceived(r.sim).value(category);
    QVERIFY(!sent.contains(victimId));
    QVERIFY(sent.contains(ownId));
    QVERIFY(r.sim.data().lists[category].contains(victim));
    if (scope == "private")
        QCOMPARE(sent, QStringList{ownId});

    const QJsonObject rec = lastRecord(r);
    const QJsonObject cat = categoryOf(rec, expected::categoryName(category));
    QCOMPARE(jsonStrings(cat["not_sent_ids"]), QStringList{victimId});
    QCOMPARE(jsonStrings(cat["not_sent_reasons"]),
             QStringList{"the phone listed their id more than once, so it cannot be told which item the id would "
                         "erase"});
    QCOMPARE(cat["confirmed_erased"].toInt(), sent.size());
    // The list held one record more than the phone announced.
    const QJsonArray counts = rec["list_counts_differ"].toArray();
    QCOMPARE(counts.size(), 1);
    QCOMPARE(counts[0].toObject()["category"].toString(), expected::categoryName(category));
    QCOMPARE(counts[0].toObject()["records_listed"].toInt(), counts[0].toObject()["records_announced"].toInt() + 1);
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QVERIFY2(
        text.endsWith(QString("1 item could not be erased (%1: 1).").arg(expected::categoryName(category))),
        qPrintable(text));
}

void TestEraseReport::lateAnswerCountsForItsOwnRunOnly_data()
{
    QTest::addColumn<int>("late");
    QTest::newRow("answered right after the cancel's acknowledgement") << 0;
    QTest::newRow("answered after the cancel gave it up") << 1;
    QTest::newRow("answered after the next run sent the photos again") << 2;
    // Erase Now waits for the default-SMS-app answer (a message is ticked
    // too) when the old answer comes: the new run sends what it did not
    // answer, the fourth photo, and the messages.
    QTest::newRow("answered while the next Erase Now waits for the SMS app") << 3;
}

// A private run is cancelled while the phone holds the answer of its photo
// batch. The user ticks a fourth photo, which the phone cannot erase, and
// erases again. The late answer counts for the run whose batch it answers;
// the failing photo is never confirmed erased.
void TestEraseReport::lateAnswerCountsForItsOwnRunOnly()
{
    QFETCH(int, late);
    Rig r;
    r.w.m_lateAnswerWaitMs = 500;
    const QString fourth = SimDataSet::eraseKey(Photo, r.sim.data().lists[Photo].at(3));
    r.sim.setUnerasableKeys({fourth});
    QVERIFY(chooseContactAndThreePhotos(r));
    const QStringList photos = r.w.m_photoToEraseList;
    const int contacts = r.w.m_contactToEraseList.size();
    r.sim.setHeldOnCancel(late == 0 ? CompanionSimulator::HeldOnCancel::AnswerAfterAck
                                    : CompanionSimulator::HeldOnCancel::Keep);
    QVERIFY(eraseHoldingThePhotoAnswer(r));
    QVERIFY(click(r.w.ui->M_IsErasing_PubuButton_Stop) && click(r.w.ui->T_D_IsErasing_Stop_PushButton_Ok));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->T_D_EraseCancelled->isHidden(); }));
    QVERIFY(recordOnDisk(r));
    const QString cancelled = r.w.m_recordWritten.jsonPath;
    const auto photoOfCancelled = [&] { return categoryOf(readJson(cancelled), "Photo"); };
    if (late == 0) {
        // The cancel waited for the answer: the cancelled run counts it.
        QCOMPARE(photoOfCancelled()["confirmed_erased"].toInt(), 3);
        QCOMPARE(r.w.ui->T_D_EraseCancelled_Label_Message->text(),
                 QString("The erase was cancelled. Erased before the cancel: %1 of %1 chosen items (Contact: %2, "
                         "Photo: 3).")
                     .arg(contacts + 3)
                     .arg(contacts));
        r.sim.setHoldEraseAnswers(false);
    } else {
        QCOMPARE(photoOfCancelled()["not_confirmed"].toInt(), 3);
        if (late == 1) {
            // The answer comes after the record was written: the record on
            // disk and the notice are written again.
            r.sim.setHoldEraseAnswers(false);
            QVERIFY(waitFor(r.w, [&] { return photoOfCancelled()["confirmed_erased"].toInt() == 3; }));
            QCOMPARE(photoOfCancelled()["not_confirmed"].toInt(), 0);
            QVERIFY(r.w.ui->T_D_EraseCancelled_Label_Message->text().contains("Photo: 3"));
            QCOMPARE(recordFiles(r, "json").size(), 1);
        }
    }
    QVERIFY(click(r.w.ui->T_D_EraseCancelled_PushButton_Ok));

    // The fourth photo is ticked and the erase goes on.
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Back));
    QVERIFY(tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Photo, "tablePhotoWidget", {4}));
    if (late == 3)
        QVERIFY(tickPrivateRows(r, r.w.ui->EP_IsScanning_PushButton_Message, "tableMessageWidget", {1}));
    const QStringList messages = r.w.m_messageToEraseList;
    QVERIFY(confirmPrivate(r));
    const int sentBefore = r.sim.eraseRequests().size();
    if (late == 3)
        r.sim.setHoldEraseAnswers(false); // written before Erase Now, read after it
    QVERIFY(eraseNow(r));
    if (late == 3)
        QVERIFY(waitFor(r.w, [&] { return photoOfCancelled()["confirmed_erased"].toInt() == 3; }));
    if (late == 2) {
        // The phone answers the old batch only now, after the new one.
        QVERIFY(waitFor(r.w, [&] { return r.sim.eraseRequests().size() == sentBefore + 4; }));
        r.sim.setHoldEraseAnswers(false);
    }
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QStringList sentNow;
    for (const auto &e : r.sim.eraseRequests().mid(sentBefore))
        sentNow << e.key;
    const QJsonObject rec = lastRecord(r);
    const QJsonObject photo = categoryOf(rec, "Photo");
    // The phone could not erase the fourth photo: never confirmed erased.
    bool fourthListed = false;
    for (const QString &item : r.sim.data().lists[Photo])
        fourthListed = fourthListed || SimDataSet::eraseKey(Photo, item) == fourth;
    QVERIFY(fourthListed);
    QVERIFY(jsonStrings(photo["failed_locations"]).contains(fourth)
            || jsonStrings(photo["not_confirmed_locations"]).contains(fourth));
    if (late != 2) {
        QCOMPARE(sorted(sentNow), sorted(messages + QStringList{fourth}));
        QCOMPARE(photo["confirmed_erased"].toInt(), 3);
        QCOMPARE(jsonStrings(photo["failed_locations"]), QStringList{fourth});
        QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
                 QString("%1 1 item could not be erased (Photo: 1).")
                     .arg(erasedText(contacts + 3 + int(messages.size()))));
    } else {
        // Sent again with the fourth photo, while the old answer could still
        // come: no answer of the batch can be told to be its own, so nothing
        // of it is called erased.
        QCOMPARE(sorted(sentNow), sorted(photos + QStringList{fourth}));
        QCOMPARE(photo["confirmed_erased"].toInt(), 0);
        QCOMPARE(photo["not_confirmed"].toInt(), 4);
        QVERIFY(photo["answers_in_doubt"].toBool());
        QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
                 QString("%1 4 items were sent, but the phone did not confirm them as erased (Photo: 4).")
                     .arg(erasedText(contacts)));
    }
}

// The phone fails a photo with an item-failed reply that names no key, then
// counts the whole batch as done besides the failure. The smaller claim
// holds: the photo is not confirmed erased, and the page never says
// everything was erased.
void TestEraseReport::contradictoryCountsLoseNoFailure()
{
    Rig r;
    const SimDataSet before = r.sim.data();
    const QString failing = SimDataSet::eraseKey(Photo, before.lists[Photo].at(2));
    r.sim.setUnerasableKeys({failing});
    r.sim.setContradictoryFailures(true);
    QVERIFY(connectRig(r));
    QVERIFY(r.scan(r.w.ui->S_All_Button));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    // From outside: the phone kept the photo, and said both.
    int stillThere = 0;
    for (const QString &item : r.sim.data().lists[Photo])
        stillThere += SimDataSet::eraseKey(Photo, item) == failing ? 1 : 0;
    QCOMPARE(stillThere, 1);
    bool contradicted = false;
    for (const auto &b : r.sim.answeredBatches())
        contradicted = contradicted || (b.category == Photo && b.failed == QStringList{failing} && b.delivered);
    QVERIFY(contradicted);

    int listed = 0;
    for (const QStringList &list : before.lists)
        listed += list.size();
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QVERIFY(text != kAllErased);
    QCOMPARE(text, QString("%1 items erased permanently. 1 item was sent, but the phone did not confirm it as erased "
                           "(Photo: 1).")
                       .arg(listed - 1));
    const int row = reportRow(r, "Photo");
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(row, 2)->text(), QString::number(before.lists[Photo].size() - 1));
    QCOMPARE(r.w.ui->M_EraseCompleted_Table->item(row, 4)->text(), QString("1"));
    const QJsonObject rec = lastRecord(r);
    QCOMPARE(rec["outcome"].toString(), QString("completed with failures"));
    const QJsonObject photo = categoryOf(rec, "Photo");
    QCOMPARE(photo["confirmed_erased"].toInt(), before.lists[Photo].size() - 1);
    QCOMPARE(photo["not_confirmed"].toInt(), 1);
    QCOMPARE(rec["totals"]["confirmed_erased"].toInt(), listed - 1);
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
    QVERIFY(r.scan(r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Viber));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    QVERIFY(eraseNow(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QVERIFY(recordOnDisk(r));
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
