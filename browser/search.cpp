#include "mainwindow.h"

#include "browser/browserlogic.h"

#include <QDebug>
#include <QLineEdit>

// The contact, call-history and message tables narrow to the records whose
// text holds the typed text; photos, audio and video are not searchable.
void MainWindow::runSearch()
{
    const int c = m_currentCategory;
    if (c != Contact && c != History && c != Message)
        return;
    auto *editor = browserWidget<QLineEdit>("EP_IsScanning_TextBroswerEditor");
    const QString text = editor ? editor->text().trimmed() : QString();

    bool *searching = c == Contact ? &m_contactSearching
        : c == History             ? &m_historySearching
                                   : &m_messageSearching;
    proto::NumberIndex *searchMap = c == Contact ? &m_contactSearchMapNumberId
        : c == History                                     ? &m_historySearchMapNumberId
                                                           : &m_messageSearchMapNumberId;
    const proto::RecordStore &records = c == Contact ? m_contactMapIdData
        : c == History                                   ? m_historyMapIdData
                                                         : m_messageMapIdData;

    if (!text.isEmpty()) {
        for (auto it = records.constBegin(); it != records.constEnd(); ++it) {
            if (it.value().contains(text, Qt::CaseSensitive))
                qDebug() << "got contact str:" << it.value();
        }
        *searchMap = browser::searchRecords(records, text);
    }
    *searching = !text.isEmpty();
    if (c == Contact)
        updateContactUI_N_Search();
    else if (c == History)
        updateHistoryUI_N_Search();
    else
        updateMessageUI_N_Search();
}

void MainWindow::endSearches()
{
    if (auto *editor = browserWidget<QLineEdit>("EP_IsScanning_TextBroswerEditor")) {
        if (!editor->text().isEmpty())
            editor->clear();
    }
    m_contactSearching = false;
    m_historySearching = false;
    m_messageSearching = false;
    m_contactSearchMapNumberId.clear();
    m_historySearchMapNumberId.clear();
    m_messageSearchMapNumberId.clear();
}

void MainWindow::on_EP_IsScanning_PusuButton_SearchButton_clicked()
{
    runSearch();
}

void MainWindow::on_EP_IsScanning_TextBroswerEditor_returnPressed()
{
    runSearch();
}

void MainWindow::on_EP_IsScanning_TextBroswerEditor_editingFinished() {}
