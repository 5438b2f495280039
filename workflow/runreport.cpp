// The account of an erase run, its record and the report the user sees when
// the run ends: completed, with failures, cancelled or interrupted.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/highdpi.h"
#include "app/widgetvisibility.h"
#include "protocol/keyindex.h"
#include "protocol/records.h"
#include "purgatexversion.h"
#include "workflow/eraseplan.h"
#include "workflow/eraseverification.h"
#include "workflow/recordtext.h"
#include "workflow/scanplan.h"

#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPixmap>
#include <QUrl>

#include <algorithm>

namespace {

// An entry whose location cannot be read has no key: the all-items sender
// names it as not sent.
QStringList locationsOf(const QStringList &entries)
{
    QStringList out;
    out.reserve(entries.size());
    for (const QString &entry : entries) {
        const QString location = proto::entryLocation(entry);
        if (!location.isEmpty())
            out << location;
    }
    return out;
}

void setRecordLink(
    QPushButton *link, QLabel *line, const workflow::eraserecord::Written &written, const QString &folder)
{
    // Until the run's record is on disk, neither the link nor the line.
    const bool none = written.ok() && written.pdfPath.isEmpty();
    app::setWidgetShown(link, written.ok() && !none);
    link->setToolTip(QDir::toNativeSeparators(written.pdfPath));
    line->setText(none ? QString() : workflow::eraserecord::recordLine(written, folder));
    line->setStyleSheet(written.ok() ? QStringLiteral("color:#666666; font-size:12px;")
                                     : QStringLiteral("color:#E8541E; font-size:13px; font-weight:bold;"));
}

} // namespace

bool MainWindow::sameKeyList(const QStringList &a, const QStringList &b)
{
    return a.size() == b.size() && (a.isSharedWith(b) || std::equal(a.cbegin(), a.cend(), b.cbegin()));
}

QStringList MainWindow::eraseKeysOf(int category) const
{
    const bool all = m_eraseType == EraseType::All;
    switch (category) {
    case Contact:
        return all ? erasableIdsOf(Contact) : m_contactToEraseList;
    case History:
        return all ? erasableIdsOf(History) : m_historyToEraseList;
    case Message:
        return all ? erasableIdsOf(Message) : m_messageToEraseList;
    case Photo:
        return all ? locationsOf(m_photoDir) : m_photoToEraseList;
    case Audio:
        return all ? locationsOf(m_audioDir) : m_audioToEraseList;
    case Vedio:
        return all ? locationsOf(m_vedioDir) : m_vedioToEraseList;
    case Facebook:
        return m_facebookDir;
    case Twitter:
        return m_twitterDir;
    case Skype:
        return m_skypeDir;
    case Viber:
        return m_viberDir;
    case Kik:
        return m_kikmessengerDir;
    case Whatsapp:
        return m_whatsappDir;
    default:
        return QStringList();
    }
}

namespace {

// The keys of a category's choice the phone has not answered since the scan,
// in the order chosen.
QStringList keysStillWanted(const QStringList &source, const QSet<QString> &answered)
{
    if (answered.isEmpty())
        return source;
    QStringList wanted;
    for (const QString &key : source)
        if (!answered.contains(key))
            wanted << key;
    return wanted;
}

// The chosen keys that a cancelled run sent without an answer.
QStringList keysSentUnanswered(const QStringList &chosen, const QStringList &unanswered)
{
    proto::KeyIndex sentUnanswered;
    sentUnanswered.reserve(int(unanswered.size()));
    for (int i = 0; i < unanswered.size(); ++i)
        sentUnanswered.insert(unanswered, i);
    QStringList sentBefore;
    for (const QString &key : chosen)
        if (sentUnanswered.find(key, unanswered) >= 0)
            sentBefore << key;
    return sentBefore;
}

} // namespace

void MainWindow::beginEraseAccount()
{
    stopVerificationPass();
    const workflow::EraseAccount earlier = m_eraseAccount;
    // A run after a cancel (or a lost link) of the same scan does not send
    // again what was answered: those categories stay in its account. What a
    // run of an earlier scan did is that run's record only.
    const bool continues = m_eraseAccountScan == m_scansStarted
                           && (earlier.outcome() == workflow::EraseAccount::Outcome::Cancelled
                               || earlier.outcome() == workflow::EraseAccount::Outcome::Interrupted);
    m_eraseAccountScan = m_scansStarted;
    ++m_eraseRunNumber;
    const proto::HomeInfoFields f = proto::homeInfoFields(m_homeInfoList);
    const workflow::EraseAccount::Phone phone{f.model,    f.version, f.serial.isEmpty() ? m_serialNo : f.serial,
                                    f.romTotal, f.romFree, f.sdTotal,
                                    f.sdFree,   f.serial,  m_gotSerial ? m_serialNo : QString()};
    m_eraseAccount.begin(m_eraseType, m_levelToErase, phone, QDateTime::currentDateTimeUtc());
    m_recordBaseName.clear();
    m_recordWritten = workflow::eraserecord::Written();

    const workflow::scanplan::CategoryRange range = workflow::scanplan::scopeCategories(m_eraseType);
    for (int c = range.first; c < range.last; ++c) {
        const bool sent = m_eraseSelected[c] && !m_eraseBack[c];
        if (!sent && !m_eraseBack[c])
            continue;
        if (continues && earlier.takesPart(c))
            m_eraseAccount.carryOver(c, earlier, sent);
        if (!sent)
            continue;
        // Keys answered in an earlier run since the scan are not sent again:
        // those carried over keep what the phone said of them. The rest is
        // what the user chooses now; of it, what a cancelled run sent without
        // an answer is not confirmed either way until the phone answers. The
        // batch the category's sender will send is worked out here, once.
        const QStringList source = eraseKeysOf(c);
        const workflow::EraseAccount::Chosen chosen =
            m_eraseAccount.choose(c, keysStillWanted(source, m_eraseAnsweredKeys[c]));
        m_eraseRunKeys[c] = {m_eraseRunNumber, source, chosen.keys, chosen.places};
        const QStringList &unanswered = m_eraseSentUnanswered[c];
        if (!unanswered.isEmpty())
            m_eraseAccount.markSentBefore(c, keysSentUnanswered(chosen.keys, unanswered));
    }
    // A list too long to be read whole is never claimed erased: in an All
    // run (which means everything) and wherever the category takes part. A
    // list that could not be read at all belongs to the scope the user
    // chose: the run names it as not read.
    for (int c = range.first; c < range.last; ++c) {
        if (m_listIncomplete[c] && (m_eraseType == EraseType::All || m_eraseAccount.takesPart(c)))
            m_eraseAccount.markListIncomplete(c);
        m_eraseAccount.markListNotRead(c, m_listNotRead[c]);
        const qint64 listed = m_listStoredRecords[c];
        if (m_listNotRead[c].isEmpty() && !m_listIncomplete[c]
            && !proto::listCountAgrees(m_announcedCount[c], listed))
            m_eraseAccount.noteListCount(c, m_announcedCount[c], listed);
    }
    // Records whose id the phone listed more than once are never sent: in an
    // All run all of them, in a private run those of the numbers chosen.
    for (int c = range.first; c < range.last && c <= Message; ++c) {
        const QStringList ids = ambiguousIdsChosen(c);
        if (!ids.isEmpty())
            m_eraseAccount.leaveOut(c, ids, workflow::eraseplan::ambiguousIdReason());
    }
    if (m_messagesLeftOut > 0 && !m_eraseSelected[Message] && !m_eraseBack[Message])
        m_eraseAccount.leaveOut(Message, eraseKeysOf(Message),
                                QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the change of the default SMS app was "
                                                                               "declined on the phone")));
}

QStringList MainWindow::ambiguousIdsChosen(int category) const
{
    const QHash<QString, QString> &ambiguous = ambiguousIdsOf(category);
    if (ambiguous.isEmpty() || (m_eraseType != EraseType::All && !m_eraseSelected[category]))
        return {};
    QStringList ids;
    QSet<QString> seen;
    const auto add = [&](const QString &key) {
        const QString id = ambiguous.value(key);
        if (!id.isEmpty() && !seen.contains(id)) {
            seen.insert(id);
            ids << id;
        }
    };
    if (m_eraseType == EraseType::All) {
        for (auto it = ambiguous.constBegin(); it != ambiguous.constEnd(); ++it)
            add(it.key());
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    // A ticked row stands for every record of its number.
    const proto::RecordStore &idData = category == Contact ? m_contactMapIdData
                                           : category == History ? m_historyMapIdData
                                                                 : m_messageMapIdData;
    const proto::NumberIndex &numberId = category == Contact ? m_contactMapNumberId
                                                  : category == History ? m_historyMapNumberId
                                                                        : m_messageMapNumberId;
    QSet<QString> numbers;
    for (const QString &id : eraseKeysOf(category)) {
        const QString number = proto::splitRecordFields(idData.value(id)).value(2);
        if (!number.isEmpty())
            numbers.insert(number);
    }
    for (const QString &number : qAsConst(numbers))
        for (const QString &key : numberId.values(number))
            add(key);
    std::sort(ids.begin(), ids.end());
    return ids;
}

void MainWindow::endEraseRun(workflow::EraseAccount::Outcome outcome, const QString &reason)
{
    if (!m_eraseAccount.isOpen())
        return;
    // Nothing more is sent for a run that has ended: what was not written
    // yet stays "not sent".
    dropUnsentEraseItems();
    m_eraseAccount.end(outcome, QDateTime::currentDateTimeUtc(), reason);
    for (int c = 0; c < CategoryCount; ++c)
        m_eraseSentUnanswered[c] += m_eraseAccount.keys(c, workflow::EraseAccount::KeyState::Sent);
    workflow::eraseverification::prepare(m_eraseAccount);
    qDebug() << "erase run ended:" << workflow::eraserecord::outcomeText(outcome);
    writeEraseRecord();
    fillEraseReport();
}

// The record is written on the writer's thread from a copy of the account;
// the page shows it once it is on disk.
void MainWindow::writeEraseRecord()
{
    if (m_recordBaseName.isEmpty()) {
        m_recordBaseName = workflow::eraserecord::uniqueBaseName(m_recordsFolder, m_eraseAccount, m_recordNamesGiven);
        m_recordNamesGiven.insert(QDir(m_recordsFolder).filePath(m_recordBaseName));
    }
    if (!m_recordWriter) {
        m_recordWriter = workflow::RecordWriter::create();
        m_recordWriter->done = [this](const workflow::eraserecord::Written &written) { eraseRecordWritten(written); };
        m_recordWriter->idle = [this] {
            if (m_closeAfterRecord)
                closeProgram(); // the record is on disk: now the program may end
        };
    }
    m_recordWriter->write(m_recordsFolder, m_recordBaseName, m_eraseAccount, QStringLiteral(PURGATEX_VERSION));
}

void MainWindow::eraseRecordWritten(const workflow::eraserecord::Written &written)
{
    qDebug() << "erase record:" << (written.ok() ? written.pdfPath : written.error);
    // A record of a run that has been followed by another is not this run's.
    if (QFileInfo(written.jsonPath).completeBaseName() != m_recordBaseName)
        return;
    m_recordWritten = written;
    showRecordLinks();
}

void MainWindow::showRecordLinks()
{
    setRecordLink(ui->M_EraseCompleted_PushButton_Record, ui->M_EraseCompleted_Label_Record, m_recordWritten,
                  m_recordsFolder);
    setRecordLink(ui->T_D_EraseCancelled_PushButton_Record, ui->T_D_EraseCancelled_Label_Record, m_recordWritten,
                  m_recordsFolder);
}

void MainWindow::interruptEraseRun(const QString &reason)
{
    if (!m_eraseAccount.isOpen())
        return;
    endEraseRun(workflow::EraseAccount::Outcome::Interrupted, reason);
    app::hideWidget(ui->T_D_IsErasing_Stop);
    hidePages();
    app::showWidget(ui->M_EraseCompleted_3);
    // The link goes on behind the report until the user leaves it.
    m_reportHeld = true;
}

bool MainWindow::leaveEraseReport()
{
    // The check runs behind the report only.
    cancelVerification(
        QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the report page was left before the check was done")));
    if (!m_reportHeld)
        return false;
    releaseReport();
    return true;
}

void MainWindow::fillEraseReport()
{
    const workflow::EraseAccount &a = m_eraseAccount;
    const bool clean = a.outcome() == workflow::EraseAccount::Outcome::Completed
                       && a.verification().status != workflow::EraseAccount::Verification::Status::StillPresent;
    ui->M_EraseCompleted_Label_Image->setPixmap(app::purgatexPicture(
        clean ? QStringLiteral(":/Image/Erase/completed.png") : QStringLiteral(":/Image/Erase/incomplete.png")));
    ui->M_EraseCompleted_Label_Title->setText(workflow::eraserecord::reportTitle(a));
    ui->M_EraseCompleted_Label_Text->setText(workflow::eraserecord::reportSummary(a));
    using Status = workflow::EraseAccount::Verification::Status;
    const Status verification = a.verification().status;
    const bool verifies = verification != Status::NotApplicable;
    ui->M_EraseCompleted_Label_Verify->setText(workflow::eraseverification::pageLine(a));
    ui->M_EraseCompleted_Label_Verify->setStyleSheet(
        QStringLiteral("font-size:14px; font-weight:bold; color:%1;")
            .arg(verification == Status::Verified       ? QStringLiteral("#3CB86B")
                 : verification == Status::StillPresent ? QStringLiteral("#E8541E")
                                                        : QStringLiteral("#333333")));
    app::setWidgetShown(ui->M_EraseCompleted_Label_Verify, verifies);

    QTableWidget *table = ui->M_EraseCompleted_Table;
    const QVector<workflow::eraserecord::Row> rows = workflow::eraserecord::reportRows(a);
    table->clearContents();
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const workflow::eraserecord::Row &row = rows.at(r);
        const int figures[] = {row.chosen, row.erased, row.failed, row.notConfirmed};
        table->setItem(r, 0, new QTableWidgetItem(row.category));
        for (int i = 0; i < 4; ++i) {
            // A list the phone did not let the program read: none of it was
            // chosen or erased, whatever it holds.
            QString text = QString::number(figures[i]);
            if (row.notRead && i == 0)
                text = tr("not read");
            auto *item = new QTableWidgetItem(text);
            if (row.notRead)
                item->setToolTip(workflow::recordtext::shown(m_eraseAccount.listNotReadReason(row.index)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, i + 1, item);
        }
        auto *check = new QTableWidgetItem(workflow::eraseverification::cellText(a, row.index));
        check->setTextAlignment(Qt::AlignCenter);
        table->setItem(r, 5, check);
    }
    table->setColumnHidden(5, !verifies);
    table->setColumnWidth(0, verifies ? 190 : 250);
    for (int i = 1; i < 5; ++i)
        table->setColumnWidth(i, verifies ? 110 : 130);

    showRecordLinks();
    ui->T_D_EraseCancelled_Label_Message->setText(workflow::eraserecord::cancelSummary(a));
}

void MainWindow::openEraseRecord()
{
    if (m_recordWritten.ok() && !m_recordWritten.pdfPath.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_recordWritten.pdfPath));
}

void MainWindow::on_M_EraseCompleted_PushButton_Record_clicked()
{
    openEraseRecord();
}

void MainWindow::on_T_D_EraseCancelled_PushButton_Record_clicked()
{
    openEraseRecord();
}

void MainWindow::on_T_D_EraseCancelled_PushButton_Ok_clicked()
{
    app::hideWidget(ui->T_D_EraseCancelled);
}

void MainWindow::on_T_D_EraseCancelled_Close_clicked()
{
    app::hideWidget(ui->T_D_EraseCancelled);
}
