#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "browser/tablelayout.h"
#include "topbuttonformousemove.h"
#include "windowgeometry.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>

namespace {

// The notices are announced as dialogs (they are frameless windows of their
// own), their drag bars as title bars.
QAccessibleInterface *noticeAccessible(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (qobject_cast<TopButtonForMouseMove *>(object))
        return new QAccessibleWidget(widget, QAccessible::TitleBar);
    if (widget->isWindow() && widget->property("purgatexNotice").toBool())
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    return nullptr;
}

void name(QWidget *w, const QString &text, const QString &description = QString())
{
    w->setAccessibleName(text);
    if (!description.isEmpty())
        w->setAccessibleDescription(description);
}

// The title label of a notice: the label lying on its drag bar with text.
QLabel *noticeTitle(QWidget *notice)
{
    for (QLabel *label : notice->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        if (label->objectName().contains(QLatin1String("Title")))
            return label;
    return nullptr;
}

// The names and descriptions of the form's controls, in the window's
// translation context.
class AccessibleTexts
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // Top bar: the words its pictures show, and what each does.
    static void nameTopBar(Ui::MainWindow *ui);
    // The pages' controls, the pictures that carry words, the level choices.
    static void namePages(Ui::MainWindow *ui);
    // Notices: their message pictures by the words they show.
    static void nameNoticeMessages(Ui::MainWindow *ui);
};

void AccessibleTexts::nameTopBar(Ui::MainWindow *ui)
{
    name(ui->S_Label_Logo, tr("Purgatex for Android"));
    name(ui->S_MyPhone_Button, tr("My Phone"), tr("Shows the phone's model, Android version, battery and storage."));
    name(ui->S_All_Button, tr("Erase All"), tr("Scans everything on the phone to erase it all."));
    name(ui->S_Private_Button, tr("Erase Private"),
         tr("Scans contacts, call history, messages, photos, audio and video to choose what to erase."));
    name(ui->S_App_Button, tr("Erase Apps"),
         tr("Scans the data of Facebook, Twitter, Skype, Viber, Kik and WhatsApp to choose what to erase."));
    name(ui->S_Menu_Button, tr("Menu"), tr("Help, About and Exit."));
    name(ui->S_Min_Button, tr("Minimize"));
    name(ui->S_Close_Button, tr("Close"), tr("Ends the program."));
    name(ui->T_D_MenuWidget, tr("Menu"));
}

void AccessibleTexts::namePages(Ui::MainWindow *ui)
{
    name(ui->EAll_Label_ToScan, tr("Scan"));
    name(ui->M_All_Private_IsScanning_ProgressBar, tr("Scan progress"));
    name(ui->M_All_Private_IsScanning_pushButton_Stop, tr("Stop"), tr("Stops the scan."));
    name(ui->M_IsErasing_ProgressBar_Erasing, tr("Erase progress"));
    name(ui->M_IsErasing_PubuButton_Stop, tr("Stop"), tr("Stops the erase."));
    name(ui->MP_InstallApk_ProgressBar, tr("Install progress"));
    name(ui->MP_ProgressBar_Phone, tr("Phone storage used"));
    name(ui->MP_ProgressBar_Sdcard, tr("SD card storage used"));
    name(ui->EP_IsScanning_TextBroswerEditor, tr("Search"),
         tr("Shows the contacts, calls or messages that hold the text typed."));
    name(ui->EP_IsScanning_PusuButton_SearchButton, tr("Search"));
    name(ui->EP_IsScanning_ListWidget_InfoShow, tr("Details"));
    name(ui->EP_IsScanning_PushButton_Erase, tr("Erase"), tr("Goes on to the confirm page for what is ticked."));
    name(ui->EApp_PushButton_Erase, tr("Erase"), tr("Goes on to the confirm page for the apps ticked."));
    ui->EApp_RatioButton_SelectAll->setAccessibleDescription(tr("Ticks every app that holds data."));
    name(ui->M_ConformErase_PushButton_Setting, tr("Change"), tr("Changes the security level."));
    name(ui->M_ConformErase_PushButton_Back, tr("Back"));
    name(ui->M_ConformErase_PushButton_EraseNow, tr("Erase Now"));
    // The confirmation field is named by the sentence its labels make.
    name(ui->M_ConformErase_LineEdit_InputErase,
         QStringList{ui->M_ConformErase_Label_Line5->text(), ui->M_ConformErase_Label_EraseWord->text(),
                     ui->M_ConformErase_Label_ToConfirm->text()}
             .join(QLatin1Char(' '))
             .simplified());
    name(ui->M_EraseComplated_PushButton_Home, tr("Home"));
    name(ui->M_EraseCompleted_Table, tr("Not erased"));

    // Pictures that carry words. (An opening quote stands apart from a word
    // starting with A to F: lupdate would read the letter as part of the
    // character's number.)
    name(ui->MP_USBDebug_Image, tr("How to enable USB debugging"),
         tr("1. Open Settings and tap \u201C" "About phone\u201D. 2. Tap \u201C" "Build number\u201D 7 times. 3. "
            "In \u201C" "Developer options\u201D turn on \u201CUSB debugging\u201D."));

    // Level choices: the description under each.
    ui->T_M_SelectLevel_RatioButton_HighLevel->setAccessibleDescription(ui->T_M_SelectLevel_Label_HighLevel->text());
    ui->T_M_SelectLevel_RatioButton_MediumLevel->setAccessibleDescription(
        ui->T_M_SelectLevel_Label_MediumLevel->text());
    ui->T_M_SelectLevel_RatioButton_LowLevel->setAccessibleDescription(ui->T_M_SelectLevel_Label_LowLevel->text());
}

void AccessibleTexts::nameNoticeMessages(Ui::MainWindow *ui)
{
    name(ui->T_D_IsScanning_Stop_Label_Message, tr("Are you sure you want to stop the scanning?"));
    name(ui->T_D_IsErasing_Stop_Label_Message,
         tr("The program is wiping your data, are you sure you want to stop the wiping process? This will cause "
            "the data won't be wiped completely."));
    name(ui->T_D_ConformEraseLineEditIsImpty_Label_Message,
         tr("Please type word \u2018" "Erase\u2019 in the box to confirm."));
    name(ui->T_D_SelectedItemLessOne_Label_Message, tr("Please select one item at least! Then next."));
    name(ui->T_D_FactoryDataReset_Label_Message,
         tr("To completely erase all settings from your Android device. We suggest restoring factory settings"));
    name(ui->T_AppState_Label_Message, tr("Please open the App \u2018Purgatex for Android\u2019 on your device."));
    name(ui->A_MP_D_ReconnectDevice_Label_Message, tr("Please reconnect your device to PC"));
    name(ui->A_MP_D_PortUsed_Label_Message,
         tr("Another program is using the port needed to reach your device. Please close this program and try "
            "again:"));
    name(ui->T_D_About_Label_Message, tr("Purgatex for Android, version 1.0"),
         tr("Permanently erases contacts, call history, messages, photos, audio, video and app data from an "
            "Android phone connected by USB."));
}

} // namespace

void MainWindow::initAccessibility()
{
    static bool factoryInstalled = false;
    if (!factoryInstalled) {
        QAccessible::installFactory(noticeAccessible);
        factoryInstalled = true;
    }

    setAccessibleName(windowTitle());
    AccessibleTexts::nameTopBar(ui);
    AccessibleTexts::namePages(ui);
    AccessibleTexts::nameNoticeMessages(ui);
    // A notice's buttons that show a picture rather than words: the close
    // button on its bar, Cancel or OK below it.
    for (const auto &entry : qAsConst(m_noticeList)) {
        QWidget *notice = entry.first;
        for (QWidget *b : m_tabOrder.value(notice)) {
            const QString objectName = b->objectName();
            if (!static_cast<QAbstractButton *>(b)->text().isEmpty())
                continue;
            if (b->y() < app::windowgeometry::NoticeBarHeight)
                name(b, tr("Close"));
            else if (objectName.section(QLatin1Char('_'), -1) == QLatin1String("Cancel"))
                name(b, tr("Cancel"));
            else
                name(b, tr("OK"));
        }
        describeNotice(notice);
    }

    for (int c = Contact; c <= Vedio; ++c)
        nameCategoryButton(c, -1);
}

void MainWindow::describeNotice(QWidget *notice)
{
    QLabel *title = noticeTitle(notice);
    const QString titleText = title ? title->text().trimmed() : QString();
    notice->setAccessibleName(titleText);
    for (auto *bar : notice->findChildren<TopButtonForMouseMove *>(QString(), Qt::FindDirectChildrenOnly))
        bar->setAccessibleName(titleText);

    // The message: the words of its pictures and labels in reading order.
    QList<QLabel *> labels = notice->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    std::stable_sort(labels.begin(), labels.end(), [](QLabel *a, QLabel *b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    QStringList words;
    for (QLabel *label : qAsConst(labels)) {
        if (label == title || label->isHidden())
            continue;
        const QString text = label->accessibleName().isEmpty() ? label->text().trimmed() : label->accessibleName();
        if (!text.isEmpty())
            words << text;
    }
    notice->setAccessibleDescription(words.join(QLatin1Char('\n')));
}

void MainWindow::nameCategoryButton(int category, int count)
{
    auto *button = findChild<QPushButton *>(QLatin1String(tableLayout(category).buttonName));
    if (!button)
        return;
    const QString word = QCoreApplication::translate("eraseplan", tableLayout(category).captionWord);
    // The caption's count, without the line break a long caption takes.
    button->setAccessibleName(count < 0 ? word : tr("%1 (%L2)").arg(word).arg(count));
}
