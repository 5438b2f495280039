#include "deferredstyle.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "topbuttonformousemove.h"
#include "windowgeometry.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHoverEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace WindowGeometry;

namespace {

// Every widget name the window's behaviour refers to, with its class.
struct NamedWidget
{
    const char *name;
    const char *className;
};
const NamedWidget WindowNames[] = {
        {"A_MP_ChangeDefault_SMS_Widget", "QWidget"},
        {"A_MP_ConnectedInfomation_5", "QWidget"},
        {"A_MP_D_DirverError_1_1", "QWidget"},
        {"A_MP_D_PortUsed", "QWidget"},
        {"A_MP_D_PortUsed_Label_Info", "QLabel"},
        {"A_MP_D_PortUsed_PushButton_Close", "QPushButton"},
        {"A_MP_D_ReconnectDevice", "QWidget"},
        {"A_MP_D_ReconnectDevice_Label_Info", "QLabel"},
        {"A_MP_D_ReconnectDevice_Ok", "QPushButton"},
        {"A_MP_D_ReconnectDevice_PushButton_Close", "QPushButton"},
        {"A_MP_IsInstalling_4", "QWidget"},
        {"A_MP_PleaseConnect_1", "QWidget"},
        {"A_MP_USBDebugTourial_2", "QWidget"},
        {"B_EAll_ToScan", "QWidget"},
        {"C_EPrivate_IsScanning_2", "QWidget"},
        {"D_EApp_ToScanAndIsScanning", "QWidget"},
        {"EAll_Label_Infomation", "QLabel"},
        {"EAll_Label_PhoneVersion", "QLabel"},
        {"EAll_Label_RomFree", "QLabel"},
        {"EAll_Label_RomTotal", "QLabel"},
        {"EAll_Label_RomUsed", "QLabel"},
        {"EAll_Label_ToScan", "QPushButton"},
        {"EAll_Lable_ScanType", "QLabel"},
        {"EApp_PushButton_Erase", "QPushButton"},
        {"EApp_RatioButton_Facebook", "QRadioButton"},
        {"EApp_RatioButton_KikMessenger", "QRadioButton"},
        {"EApp_RatioButton_SelectAll", "QRadioButton"},
        {"EApp_RatioButton_Skype", "QRadioButton"},
        {"EApp_RatioButton_Twitter", "QRadioButton"},
        {"EApp_RatioButton_Viber", "QRadioButton"},
        {"EApp_RatioButton_WhatsApp", "QRadioButton"},
        {"EP_IsScanning_Label_AudioBg", "QLabel"},
        {"EP_IsScanning_Label_ContactBg", "QLabel"},
        {"EP_IsScanning_Label_ContactButton_NotSelected", "QLabel"},
        {"EP_IsScanning_Label_ContactButton_Selected", "QLabel"},
        {"EP_IsScanning_Label_DirShow", "QLabel"},
        {"EP_IsScanning_Label_HistoryBg", "QLabel"},
        {"EP_IsScanning_Label_MessageBg", "QLabel"},
        {"EP_IsScanning_Label_Name", "QLabel"},
        {"EP_IsScanning_Label_PhotoBg", "QLabel"},
        {"EP_IsScanning_Label_PhotoLocation", "QLabel"},
        {"EP_IsScanning_Label_VedioBg", "QLabel"},
        {"EP_IsScanning_ListWidget_InfoShow", "QListWidget"},
        {"EP_IsScanning_PushButton_Audio", "QPushButton"},
        {"EP_IsScanning_PushButton_CallHistory", "QPushButton"},
        {"EP_IsScanning_PushButton_Contact", "QPushButton"},
        {"EP_IsScanning_PushButton_Erase", "QPushButton"},
        {"EP_IsScanning_PushButton_Message", "QPushButton"},
        {"EP_IsScanning_PushButton_Photo", "QPushButton"},
        {"EP_IsScanning_PushButton_Vedio", "QPushButton"},
        {"EP_IsScanning_PusuButton_SearchButton", "QPushButton"},
        {"EP_IsScanning_TextBroswerEditor", "QLineEdit"},
        {"MP_D_ConnectedError_Button_Close", "QPushButton"},
        {"MP_D_ConnectedError_Button_Ok", "QPushButton"},
        {"MP_D_ConnectedError_Button_Url", "QPushButton"},
        {"MP_D_ConnectedError_Label_Title", "QLabel"},
        {"MP_InstallApk_ProgressBar", "QProgressBar"},
        {"MP_Label_Model", "QLabel"},
        {"MP_Label_PhoneName", "QLabel"},
        {"MP_Label_Phone_Free", "QLabel"},
        {"MP_Label_Phone_Total", "QLabel"},
        {"MP_Label_Power", "QLabel"},
        {"MP_Label_Sdcard_Free", "QLabel"},
        {"MP_Label_Sdcard_Total", "QLabel"},
        {"MP_Label_SerialNumber", "QLabel"},
        {"MP_Label_SystemVersion", "QLabel"},
        {"MP_ProgressBar_Phone", "QProgressBar"},
        {"MP_ProgressBar_Sdcard", "QProgressBar"},
        {"MP_USBDebug_Image", "QLabel"},
        {"M_All_Private_IsScanning", "QWidget"},
        {"M_All_Private_IsScanning_Label_leftTime", "QLabel"},
        {"M_All_Private_IsScanning_ProgressBar", "QProgressBar"},
        {"M_All_Private_IsScanning_pushButton_Stop", "QPushButton"},
        {"M_ConformErase_1", "QWidget"},
        {"M_ConformErase_Label_SecurityLevel", "QLabel"},
        {"M_ConformErase_LineEdit_InputErase", "QLineEdit"},
        {"M_ConformErase_PushButton_Back", "QPushButton"},
        {"M_ConformErase_PushButton_EraseNow", "QPushButton"},
        {"M_ConformErase_PushButton_Setting", "QPushButton"},
        {"M_ConformErase_label_Name", "QLabel"},
        {"M_EraseComplated_PushButton_Home", "QPushButton"},
        {"M_EraseCompleted_3", "QWidget"},
        {"M_IsErasing_2", "QWidget"},
        {"M_IsErasing_Label_TimeLeft", "QLabel"},
        {"M_IsErasing_ProgressBar_Erasing", "QProgressBar"},
        {"M_IsErasing_PubuButton_Stop", "QPushButton"},
        {"S_All_Button", "QPushButton"},
        {"S_App_Button", "QPushButton"},
        {"S_Close_Button", "QPushButton"},
        {"S_Label_Logo", "QLabel"},
        {"S_Label_TopBg", "QLabel"},
        {"S_Label_TopBg_2", "QLabel"},
        {"S_Label_TopBg_3", "QLabel"},
        {"S_Menu_Button", "QPushButton"},
        {"S_Min_Button", "QPushButton"},
        {"S_MyPhone_Button", "QPushButton"},
        {"S_Private_Button", "QPushButton"},
        {"T_AppState", "QWidget"},
        {"T_AppState_TopTitle", "QLabel"},
        {"T_D_About", "QWidget"},
        {"T_D_About_Exit_PushButton", "QPushButton"},
        {"T_D_About_Label_Url", "QPushButton"},
        {"T_D_About_PushButton", "QPushButton"},
        {"T_D_CancelNoAnswer", "QWidget"},
        {"T_D_CancelNoAnswer_Close", "QPushButton"},
        {"T_D_CancelNoAnswer_Label_Message", "QLabel"},
        {"T_D_CancelNoAnswer_PushButton_Ok", "QPushButton"},
        {"T_D_CancelNoAnswer_TopTitle", "QLabel"},
        {"T_D_ConformEraseLineEditIsImpty", "QWidget"},
        {"T_D_ConformEraseLineEditIsImpty_Close", "QPushButton"},
        {"T_D_ConformEraseLineEditIsImpty_PushButton_Ok", "QPushButton"},
        {"T_D_Exit_PushButton", "QPushButton"},
        {"T_D_FactoryDataReset", "QWidget"},
        {"T_D_FactoryDataReset_Close", "QPushButton"},
        {"T_D_FactoryDataReset_PushButton_Ok", "QPushButton"},
        {"T_D_Help_PushButton", "QPushButton"},
        {"T_D_IsErasing_Stop", "QWidget"},
        {"T_D_IsErasing_Stop_Close", "QPushButton"},
        {"T_D_IsErasing_Stop_PushButton_Cancel", "QPushButton"},
        {"T_D_IsErasing_Stop_PushButton_Ok", "QPushButton"},
        {"T_D_IsScanning_Stop", "QWidget"},
        {"T_D_IsScanning_Stop_Close", "QPushButton"},
        {"T_D_IsScanning_Stop_PushButton_Cancel", "QPushButton"},
        {"T_D_IsScanning_Stop_PushButton_Ok", "QPushButton"},
        {"T_D_MenuWidget", "QWidget"},
        {"T_D_SelectedItemLessOne", "QWidget"},
        {"T_D_SelectedItemLessOne_Close", "QPushButton"},
        {"T_D_SelectedItemLessOne_PushButton_Ok", "QPushButton"},
        {"T_M_SelectLevel_1_1", "QWidget"},
        {"T_M_SelectLevel_PushButton_Close", "QPushButton"},
        {"T_M_SelectLevel_PusuButton_Cancel", "QPushButton"},
        {"T_M_SelectLevel_PusuButton_OK", "QPushButton"},
        {"T_M_SelectLevel_RatioButton_HighLevel", "QRadioButton"},
        {"T_M_SelectLevel_RatioButton_LowLevel", "QRadioButton"},
        {"T_M_SelectLevel_RatioButton_MediumLevel", "QRadioButton"},
        {"label_test_debug", "QLabel"},
        {"label_test_debug_2", "QLabel"},
        {"testLabel_2", "QLabel"},
        {"testLabel_3", "QLabel"},
        {"testLabel_4", "QLabel"},
        {"centralwidget", "QWidget"},
        {"pTop_T_D_IsScanning_Stop", "TopButtonForMouseMove"},
        {"pTop_T_D_IsErasing_Stop", "TopButtonForMouseMove"},
        {"pTop_T_D_ConformEraseLineEditIsImpty", "TopButtonForMouseMove"},
        {"pTop_T_D_SelectedItemLessOne", "TopButtonForMouseMove"},
        {"pTop_T_D_FactoryDataReset", "TopButtonForMouseMove"},
        {"pTop_T_AppState", "TopButtonForMouseMove"},
        {"pTop_A_MP_D_ReconnectDevice", "TopButtonForMouseMove"},
        {"pTop_A_MP_D_PortUsed", "TopButtonForMouseMove"},
        {"pTop_A_MP_D_DirverError_1_1", "TopButtonForMouseMove"},
        {"pTop_T_M_SelectLevel_1_1", "TopButtonForMouseMove"},
        {"pTop_About", "TopButtonForMouseMove"},
};

// Pictures the program's code loads by name.
const char *const NamedPictures[] = {
    ":/Image/Action/Back1.png",
    ":/Image/Action/Cancel1.png",
    ":/Image/Action/EraseNow1.png",
    ":/Image/Action/OK1.png",
    ":/Image/Dialog/about-us.png",
    ":/Image/Dialog/factory-reset.png",
    ":/Image/Dialog/open-app.png",
    ":/Image/Dialog/reconnect.png",
    ":/Image/Dialog/select-one.png",
    ":/Image/Dialog/stop-erase.png",
    ":/Image/Dialog/stop-scan.png",
    ":/Image/Private/audioTable_audioIcon.png",
    ":/Image/Private/contactTable_headSelected.png",
    ":/Image/Private/contactTable_headUnselect.png",
    ":/Image/Private/contactTable_itemSelected.png",
    ":/Image/Private/contactTable_itemUnselect.png",
    ":/Image/Private/messageTable_itemSelected.png",
    ":/Image/Private/messageTable_itemUnselect.png",
    ":/Image/Private/tableBg_Normal.png",
    ":/Image/Private/tableBg_Selected.png",
    ":/Image/Private/vedioTable_vedioIcon.png",
    ":/Image/RightTopButton/closeWin1.png",
    ":/Image/RightTopButton/menu1.png",
    ":/Image/RightTopButton/menu2.png",
    ":/Image/RightTopMenuItems/item_normal_bg.png",
    ":/Image/RightTopMenuItems/item_normal_on_bg.png",
    ":/Image/RightTopMenuItems/item_normal_selected_bg.png",
    ":/Image/StaticUI/ContactIcon.png",
    ":/Image/StaticUI/Delete.png",
    ":/Image/StaticUI/confirmEraseInput_Error_Dialog.png",
    ":/Image/StaticUI/logo_server.png",
    ":/Image/Top/EraseAllData1.png",
    ":/Image/Top/EraseAllData2.png",
    ":/Image/Top/EraseAllData3.png",
    ":/Image/Top/EraseAppData1.png",
    ":/Image/Top/MyPhone1.png",
    ":/Image/Top/MyPhone2.png",
    ":/Image/Top/MyPhone3.png",
    ":/Image/Top/logo.png",
    ":/Image/added/wrongFormat.png",
    ":/images/StaticUI/bitbug_favicon.ico",
};

// The fixed texts of the pages, notices and menu, letter for letter (odd
// spellings and trailing blanks included), as the form ships them.
struct FormText
{
    const char *name;
    const char *text;
};
const FormText FormTexts[] = {
        {"A_MP_PleaseConnect_Label_Text", "Please connect your Android device to PC via USB cable"},
        {"A_MP_USBDebugTourial_Label_Text1", "Please follow the steps to enable"},
        {"A_MP_USBDebugTourial_Label_Text2", "USB debugging"},
        {"A_MP_USBDebugTourial_Label_Text3", " to continue"},
        {"A_MP_IsInstalling_Label_Connect", "Please connect your Android device to PC via USB cable"},
        {"A_MP_IsInstalling_Label_Installing", "Installing ..."},
        {"A_MP_IsInstalling_Label_Note", "NOTE:"},
        {"A_MP_IsInstalling_Label_NoteText", "Purgatex for Android app will be installed on the device to ensure successful connection."},
        {"A_MP_ConnectedInfomation_Label_Name", "Name"},
        {"A_MP_ConnectedInfomation_Label_Model", "Model Number"},
        {"A_MP_ConnectedInfomation_Label_Version", "Android Version"},
        {"A_MP_ConnectedInfomation_Label_Serial", "Serial Number"},
        {"A_MP_ConnectedInfomation_Label_Power", "Power"},
        {"A_MP_ConnectedInfomation_Label_Phone", "Phone"},
        {"A_MP_ConnectedInfomation_Label_Sdcard", "Sdcard"},
        {"A_MP_ChangeDefault_SMS_Label_Text", "Click            to the program with SMS scan authorization on the screen of your device when an app ‘Changing SMS app’ pops up."},
        {"A_MP_ChangeDefault_SMS_Label_Yes", "'Yes'"},
        {"EAll_Lable_ScanType", "Erase All Data"},
        {"EAll_Label_PhoneVersion", "GT-9001"},
        {"EAll_Label_RomTotal", "12.62GB Total"},
        {"EAll_Label_RomUsed", "11.78GB Used"},
        {"EAll_Label_RomFree", "0.83GB Free"},
        {"EP_IsScanning_PushButton_Contact", "Contact"},
        {"EP_IsScanning_PushButton_CallHistory", "History"},
        {"EP_IsScanning_PushButton_Message", "Message123456"},
        {"EP_IsScanning_PushButton_Photo", "Photo"},
        {"EP_IsScanning_PushButton_Audio", "Audio"},
        {"EP_IsScanning_PushButton_Vedio", "Video"},
        {"D_EApp_Label_Note", "Note:"},
        {"D_EApp_Label_NoteText", "The program will completely erase all private data generated by the following apps."},
        {"D_EApp_Label_SNS", "For SNS app:"},
        {"D_EApp_Label_SNSText", "delete cookies, caches, photos, downloads, account info and tmp files."},
        {"D_EApp_Label_Messaging", "For messaging app: "},
        {"D_EApp_Label_MessagingText", "delete cookies, downloads, photos, audio, video, history and tmp files."},
        {"EApp_RatioButton_SelectAll", "SelectAll"},
        {"EApp_RatioButton_Facebook", "Facebook"},
        {"EApp_RatioButton_Twitter", "Twitter"},
        {"EApp_RatioButton_KikMessenger", "Kik"},
        {"EApp_RatioButton_Viber", "Viber"},
        {"EApp_RatioButton_Skype", "Skype"},
        {"EApp_RatioButton_WhatsApp", "WhatsApp"},
        {"M_ConformErase_label_Name", "Erase All Data"},
        {"M_ConformErase_Label_Line1", "1. Please close all background apps, such as music, games, Twitter, Facebook, etc."},
        {"M_ConformErase_Label_Line2", "2. Please wait for updates to be completed before erasing."},
        {"M_ConformErase_Label_Line3", "3. Make sure all important data is backed up safely."},
        {"M_ConformErase_Label_Line4", "4. Select security level "},
        {"M_ConformErase_Label_Line5", "5. Please type"},
        {"M_ConformErase_Label_EraseWord", "‘Erase’"},
        {"M_ConformErase_Label_ToConfirm", "to confirm "},
        {"M_ConformErase_LineEdit_InputErase", "Please Type at here..."},
        {"M_IsErasing_Label_Title", "Erasing Data..."},
        {"M_IsErasing_Label_Warning", "Warning: To avoid change to your device,please don't disconnect the device while erasing"},
        {"M_EraseCompleted_Label_Title", "Completed"},
        {"M_EraseCompleted_Label_Text", "All data on your device has been erased permanently!"},
        {"T_D_IsScanning_Stop_TopTitle", "Cancel Scan"},
        {"T_D_IsErasing_Stop_TopTitle", "Cancel Erase"},
        {"T_D_ConformEraseLineEditIsImpty_TopTitle", "Warning"},
        {"T_D_SelectedItemLessOne_TopTitle", "Warning"},
        {"T_D_FactoryDataReset_TopTitle", "Warning about Factory Reset"},
        {"T_AppState_TopTitle", "App State"},
        {"A_MP_D_ReconnectDevice_TopTitle", "Please Reconnect Device"},
        {"A_MP_D_PortUsed_TopTitle", "Purgatex for Android"},
        {"MP_D_ConnectedError_Label_Title", "Purgatex"},
        {"MP_D_ConnectedError_Label_Text1", "Sorry! The program failed to detect the device. Please check the following suggestions:"},
        {"MP_D_ConnectedError_Label_Text2", "1. Enable USB debugging on the device."},
        {"MP_D_ConnectedError_Label_Text3", "2. If Windows failed to install the USB driver, please install it manually. You can check them in this page: "},
        {"T_M_SelectLevel_TopTitle", "Set security level"},
        {"T_M_SelectLevel_Label_Heading", "Select Level"},
        {"T_M_SelectLevel_RatioButton_HighLevel", "High Level (3 Times)"},
        {"T_M_SelectLevel_Label_HighLevel", "This option is the best one if you have previously saved sensitive information like bank account, password. The security standard is based on US Dod S220.22-M."},
        {"T_M_SelectLevel_RatioButton_MediumLevel", "Medium Level (Recommended)"},
        {"T_M_SelectLevel_Label_MediumLevel", "This option will overwrite the device in 2 times to ensure all the files are deleted permanently. There is zero chance to recover the files no matter how smart the guy is."},
        {"T_M_SelectLevel_RatioButton_LowLevel", "Low Level (1 Time)"},
        {"T_M_SelectLevel_Label_LowLevel", "This option will overwrite all of your data with zero to ensure the files are not recoverable. This is also the fastest way to erase an Android device."},
        {"T_D_About_TopTitle", " About Us"},
        {"T_D_Help_PushButton", "Help"},
        {"T_D_About_PushButton", "About"},
        {"T_D_Exit_PushButton", "Exit"},
        {"label_test_debug", "T"},
        {"testLabel_2", "T"},
        {"testLabel_3", "T"},
        {"label_test_debug_2", "T"},
        {"testLabel_4", "T"},
};

// Where the buttons of the notices sit inside their notice.
struct Placed
{
    const char *name;
    QRect geometry;
};
const Placed NoticeButtons[] = {
    {"T_D_IsScanning_Stop_PushButton_Ok", {70, 150, 84, 26}},
    {"T_D_IsScanning_Stop_PushButton_Cancel", {200, 150, 84, 26}},
    {"T_D_IsScanning_Stop_Close", {311, 0, 43, 34}},
    {"T_D_IsErasing_Stop_PushButton_Ok", {70, 150, 84, 26}},
    {"T_D_IsErasing_Stop_PushButton_Cancel", {200, 150, 84, 26}},
    {"T_D_IsErasing_Stop_Close", {311, 0, 43, 34}},
    {"T_D_ConformEraseLineEditIsImpty_PushButton_Ok", {134, 151, 84, 26}},
    {"T_D_ConformEraseLineEditIsImpty_Close", {311, 0, 43, 34}},
    {"T_D_SelectedItemLessOne_PushButton_Ok", {135, 150, 84, 26}},
    {"T_D_SelectedItemLessOne_Close", {311, 0, 43, 34}},
    {"T_D_FactoryDataReset_PushButton_Ok", {135, 151, 84, 26}},
    {"T_D_FactoryDataReset_Close", {311, 0, 43, 34}},
    {"A_MP_D_ReconnectDevice_Ok", {162, 164, 89, 28}},
    {"A_MP_D_ReconnectDevice_PushButton_Close", {367, 2, 43, 30}},
    {"A_MP_D_PortUsed_PushButton_Close", {367, 2, 43, 30}},
    {"MP_D_ConnectedError_Button_Url", {125, 240, 351, 31}},
    {"MP_D_ConnectedError_Button_Ok", {216, 287, 89, 28}},
    {"MP_D_ConnectedError_Button_Close", {478, 0, 43, 34}},
    {"T_M_SelectLevel_PusuButton_OK", {292, 308, 84, 28}},
    {"T_M_SelectLevel_PusuButton_Cancel", {400, 308, 84, 28}},
    {"T_M_SelectLevel_PushButton_Close", {477, 0, 43, 34}},
    {"T_D_About_Label_Url", {26, 214, 311, 41}},
    {"T_D_About_Exit_PushButton", {460, 0, 43, 34}},
    {"T_D_Help_PushButton", {0, 78, 131, 41}},
    {"T_D_About_PushButton", {0, 119, 131, 41}},
    {"T_D_Exit_PushButton", {0, 160, 131, 41}},
    {"EAll_Label_ToScan", {490, 240, 128, 40}},
    {"S_MyPhone_Button", {43, 18, 86, 92}},
    {"S_All_Button", {170, 18, 86, 92}},
    {"S_Private_Button", {297, 18, 86, 92}},
    {"S_App_Button", {424, 18, 86, 92}},
    {"S_Menu_Button", {770, 1, 43, 31}},
    {"S_Min_Button", {813, 1, 43, 30}},
    {"S_Close_Button", {856, 1, 43, 30}},
};

QString widgetText(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->placeholderText();
    return QStringLiteral("<no text>");
}

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &global, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, target->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

// Press at a point of target, move the mouse by each step in turn, release.
void drag(QWidget *target, const QPoint &local, const QList<QPoint> &steps)
{
    QPoint global = target->mapToGlobal(local);
    sendMouse(target, QEvent::MouseButtonPress, global, Qt::LeftButton);
    for (const QPoint &step : steps) {
        global += step;
        sendMouse(target, QEvent::MouseMove, global, Qt::LeftButton);
    }
    sendMouse(target, QEvent::MouseButtonRelease, global, Qt::NoButton);
}

void hover(QWidget *window, const QPoint &pos)
{
    QHoverEvent e(QEvent::HoverMove, pos, pos);
    QApplication::sendEvent(window, &e);
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(43, 31)).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage resourceImage(const char *path)
{
    return QPixmap(QLatin1String(path)).scaled(43, 31).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestWindowShell : public QObject
{
    Q_OBJECT

    MainWindow *w = nullptr;

private slots:
    void init()
    {
        w = new MainWindow;
        w->m_timerTestPort->stop(); // no phone in these tests
        w->move(300, 200);
        w->placeNotices();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void centring_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("1920x1040") << QRect(0, 0, 1920, 1040) << QPoint(510, 220);
        QTest::newRow("odd sizes round down") << QRect(0, 0, 1367, 769) << QPoint(233, 84);
        QTest::newRow("exactly the window") << QRect(0, 0, 900, 600) << QPoint(0, 0);
        QTest::newRow("second screen to the right") << QRect(1920, 0, 1280, 984) << QPoint(2110, 192);
        QTest::newRow("task bar on the left") << QRect(48, 0, 1872, 1080) << QPoint(534, 240);
        QTest::newRow("screen smaller than the window") << QRect(0, 0, 800, 560) << QPoint(0, 0);
    }
    void centring()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(centredPosition(available), expected);
    }

    void centredRow_data()
    {
        QTest::addColumn<QVector<int>>("widths");
        QTest::addColumn<int>("area");
        QTest::addColumn<QVector<int>>("lefts");
        QTest::newRow("three pieces") << QVector<int>{330, 170, 120} << 900 << QVector<int>{140, 470, 640};
        QTest::newRow("odd rest rounds down") << QVector<int>{101} << 900 << QVector<int>{399};
        QTest::newRow("wider than the area") << QVector<int>{600, 400} << 900 << QVector<int>{0, 600};
        QTest::newRow("nothing") << QVector<int>{} << 900 << QVector<int>{};
    }
    void centredRow()
    {
        QFETCH(QVector<int>, widths);
        QFETCH(int, area);
        QFETCH(QVector<int>, lefts);
        QCOMPARE(WindowGeometry::centredRow(widths, area), lefts);
    }

    void menuHoverRule_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<bool>("panelVisible");
        QTest::addColumn<int>("expected");
        const int keep = int(MenuHover::Keep), open = int(MenuHover::Open), close = int(MenuHover::Close);
        QTest::newRow("button, closed") << QPoint(790, 15) << false << open;
        QTest::newRow("button edge left") << QPoint(772, 1) << false << open;
        QTest::newRow("button edge right") << QPoint(813, 30) << false << open;
        QTest::newRow("button, open") << QPoint(790, 15) << true << keep;
        QTest::newRow("left of button") << QPoint(771, 15) << false << keep;
        QTest::newRow("minimise button, open") << QPoint(830, 15) << true << close;
        QTest::newRow("panel, open") << QPoint(800, 150) << true << keep;
        QTest::newRow("panel bottom edge") << QPoint(900, 239) << true << keep;
        QTest::newRow("below panel") << QPoint(800, 240) << true << close;
        QTest::newRow("page, open") << QPoint(400, 300) << true << close;
        QTest::newRow("page, closed") << QPoint(400, 300) << false << keep;
    }
    void menuHoverRule()
    {
        QFETCH(QPoint, pos);
        QFETCH(bool, panelVisible);
        QFETCH(int, expected);
        QCOMPARE(int(menuHover(pos, panelVisible)), expected);
    }

    void everyNamedWidgetIsOnTheWindow()
    {
        QStringList wrong;
        for (const NamedWidget &n : WindowNames) {
            auto *widget = w->findChild<QWidget *>(QLatin1String(n.name));
            if (!widget)
                wrong << QStringLiteral("%1 missing").arg(QLatin1String(n.name));
            else if (qstrcmp(widget->metaObject()->className(), n.className) != 0)
                wrong << QStringLiteral("%1 is a %2").arg(QLatin1String(n.name), QLatin1String(widget->metaObject()->className()));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
    }

    void everyPictureExists()
    {
        // Every picture named in the form (pixmaps, icons, style sheets) and in
        // the code must be compiled in: no empty label, no missing button face.
        QFile form(QStringLiteral(PURGATEX_SOURCE_DIR "/app/mainwindow.ui"));
        QVERIFY(form.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(form.readAll());
        QSet<QString> paths;
        QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral(":/[A-Za-z]+/[A-Za-z0-9_/.-]+\\.(png|ico)")).globalMatch(text);
        while (it.hasNext())
            paths.insert(it.next().captured(0));
        QVERIFY(paths.size() > 60);
        for (const char *named : NamedPictures)
            paths.insert(QLatin1String(named));
        QStringList broken;
        for (const QString &path : qAsConst(paths)) {
            if (QImage(path).isNull())
                broken << path;
        }
        broken.sort();
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral(", "))));
    }

    void formTextsAndPlaces()
    {
        // The form as it ships, before the program changes any text.
        QMainWindow host;
        Ui::MainWindow form;
        form.setupUi(&host);
        QStringList wrong;
        for (const FormText &t : FormTexts) {
            auto *widget = host.findChild<QWidget *>(QLatin1String(t.name));
            const QString want = QString::fromUtf8(t.text);
            if (!widget)
                wrong << QStringLiteral("%1 missing").arg(QLatin1String(t.name));
            else if (widgetText(widget) != want)
                wrong << QStringLiteral("%1: \"%2\"").arg(QLatin1String(t.name), widgetText(widget));
        }
        for (const Placed &b : NoticeButtons) {
            auto *widget = host.findChild<QWidget *>(QLatin1String(b.name));
            if (!widget || widget->geometry() != b.geometry)
                wrong << QStringLiteral("%1 misplaced").arg(QLatin1String(b.name));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("; "))));
    }

    void fixedTextsAreNotCutOff()
    {
        // Every one-line text of the pages and notices fits its widget in the
        // font the style sheets give it (a page or notice not yet on screen
        // is styled for the measure as code that measures it does). The
        // pieced sentences get their widths once the first frame is out.
        QTRY_VERIFY(w->m_startupFinished);
        QStringList cut;
        const QList<QWidget *> traces{w->ui->testLabel_2, w->ui->testLabel_3, w->ui->testLabel_4,
                                      w->ui->label_test_debug, w->ui->label_test_debug_2};
        const auto widgets = w->findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            if (traces.contains(widget))
                continue; // never shown
            QString text;
            if (auto *label = qobject_cast<QLabel *>(widget)) {
                if (label->text().isEmpty())
                    continue;
                if (label->wordWrap()) {
                    deferredstyle::ensureStyled(label);
                    if (label->heightForWidth(label->width()) > label->height())
                        cut << QStringLiteral("%1 (%2 lines need %3 high, has %4)")
                                   .arg(label->objectName(), label->text())
                                   .arg(label->heightForWidth(label->width()))
                                   .arg(label->height());
                    continue;
                }
                text = label->text();
            } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                text = button->text();
                if (text.isEmpty() || widget->objectName() == QLatin1String("EP_IsScanning_PushButton_Message"))
                    continue; // that one carries a placeholder until the scan names it
            } else {
                continue;
            }
            deferredstyle::ensureStyled(widget);
            const QSize need = widget->sizeHint();
            if (need.width() > widget->width() || widget->fontMetrics().height() > widget->height())
                cut << QStringLiteral("%1 (%2 needs %3, has %4)")
                           .arg(widget->objectName(), text)
                           .arg(need.width())
                           .arg(widget->width());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    void sentencePiecesJoinUp()
    {
        // The three pieces of the USB-debugging sentence follow each other
        // on their page as it is shown.
        w->hidePages();
        w->ui->A_MP_USBDebugTourial_2->show();
        const QList<QLabel *> pieces{w->ui->A_MP_USBDebugTourial_Label_Text1, w->ui->A_MP_USBDebugTourial_Label_Text2,
                                     w->ui->A_MP_USBDebugTourial_Label_Text3};
        for (int i = 1; i < pieces.size(); ++i)
            QCOMPARE(pieces.at(i)->x(), pieces.at(i - 1)->geometry().right() + 1);
        // "enable" and "USB" keep a blank between them.
        QLabel *first = pieces.first();
        QVERIFY(first->width() >= first->fontMetrics().horizontalAdvance(first->text() + QLatin1Char(' ')));
        // The highlighted 'Yes' lies inside the blank run after "Click".
        w->hidePages();
        w->ui->A_MP_ChangeDefault_SMS_Widget->show();
        QLabel *sentence = w->ui->A_MP_ChangeDefault_SMS_Label_Text;
        QLabel *yes = w->ui->A_MP_ChangeDefault_SMS_Label_Yes;
        const QFontMetrics fm = sentence->fontMetrics();
        const int gapLeft = sentence->x() + fm.horizontalAdvance(QStringLiteral("Click"));
        const int gapRight = sentence->x() + fm.horizontalAdvance(sentence->text().left(sentence->text().indexOf(QStringLiteral("to"))));
        QVERIFY2(yes->x() >= gapLeft && yes->geometry().right() <= gapRight,
                 qPrintable(QStringLiteral("%1..%2 in %3..%4").arg(yes->x()).arg(yes->geometry().right()).arg(gapLeft).arg(gapRight)));
        QCOMPARE(yes->y(), sentence->y());
    }

    void startsOnTheConnectPageWithPagesInPlace()
    {
        QCOMPARE(w->m_pageList.size(), 12);
        QStringList names;
        QStringList visible;
        for (QWidget *page : qAsConst(w->m_pageList)) {
            names << page->objectName();
            QCOMPARE(page->geometry(), PageGeometry);
            if (!page->isHidden())
                visible << page->objectName();
        }
        QCOMPARE(names, pageNames());
        QCOMPARE(visible, QStringList{QStringLiteral("A_MP_PleaseConnect_1")});
        for (QWidget *trace : {w->ui->testLabel_2, w->ui->testLabel_3, w->ui->testLabel_4, w->ui->label_test_debug,
                               w->ui->label_test_debug_2})
            QVERIFY(trace->isHidden());
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w->size(), QSize(900, 600));
        QVERIFY(w->ui->T_M_SelectLevel_RatioButton_LowLevel->isChecked());
    }

    void hidePagesLeavesNoPageAndNoAbout()
    {
        for (QWidget *page : qAsConst(w->m_pageList))
            page->show();
        w->ui->T_D_About->show();
        w->hidePages();
        for (QWidget *page : qAsConst(w->m_pageList))
            QVERIFY2(page->isHidden(), qPrintable(page->objectName()));
        QVERIFY(w->ui->T_D_About->isHidden());
    }

    void hideNoticesClosesEveryNoticeAndTheMenu()
    {
        QCOMPARE(w->m_noticeList.size(), noticePlacements().size());
        for (const auto &notice : qAsConst(w->m_noticeList))
            notice.first->show();
        hover(w, QPoint(790, 15));
        QVERIFY(!w->ui->T_D_MenuWidget->isHidden());
        w->hideNotices();
        for (const auto &notice : qAsConst(w->m_noticeList))
            QVERIFY2(notice.first->isHidden(), qPrintable(notice.first->objectName()));
        QVERIFY(w->ui->T_D_MenuWidget->isHidden());
        QCOMPARE(iconImage(w->ui->S_Menu_Button->icon()), resourceImage(":/Image/RightTopButton/menu1.png"));
    }

    // A picture of the form is read when its label is first shown or
    // painted: the page on screen shows its own at once, a page or notice
    // not yet shown has not read its picture, and shows it when it is shown
    // or painted (grabbed) all the same. A label that code has given another
    // picture before keeps that one.
    void formPicturesAreReadWhenShown_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("grabOnly");
        QTest::newRow("page on screen") << "A_MP_PleaseConnect_Label_Image" << "" << ":/Image/MyPhone/connect.png"
                                        << false;
        QTest::newRow("page shown later") << "MP_USBDebug_Image" << "A_MP_USBDebugTourial_2"
                                          << ":/Image/MyPhone/usbdebug.png" << false;
        QTest::newRow("notice shown later") << "T_D_About_Label_Message" << "T_D_About"
                                            << ":/Image/Dialog/about-us.png" << false;
        QTest::newRow("notice grabbed, never shown") << "A_MP_D_ReconnectDevice_Label_Message"
                                                     << "A_MP_D_ReconnectDevice" << ":/Image/Dialog/reconnect.png"
                                                     << true;
    }
    void formPicturesAreReadWhenShown()
    {
        QFETCH(QString, label);
        QFETCH(QString, page);
        QFETCH(QString, picture);
        QFETCH(bool, grabOnly);
        auto *l = w->findChild<QLabel *>(label);
        QVERIFY(l);
        const QImage expected = QPixmap(picture).toImage().convertToFormat(QImage::Format_ARGB32);
        auto shows = [&] { return l->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32) == expected; };
        if (!page.isEmpty()) {
            QVERIFY(!shows()); // not read yet
            QWidget *p = w->findChild<QWidget *>(page);
            if (grabOnly)
                p->grab();
            else
                p->show();
        }
        QVERIFY(shows());
    }
    void pictureSetByCodeStays()
    {
        auto *l = w->ui->MP_USBDebug_Image;
        QPixmap mine(8, 8);
        mine.fill(Qt::red);
        l->setPixmap(mine);
        w->ui->A_MP_USBDebugTourial_2->show();
        QCOMPARE(l->pixmap(Qt::ReturnByValue).cacheKey(), mine.cacheKey());
    }

    void noticesAreSeparateWindowsWithDragBars()
    {
        for (const NoticePlacement &placement : noticePlacements()) {
            auto *notice = w->findChild<QWidget *>(QLatin1String(placement.name));
            QVERIFY(notice);
            QVERIFY(notice->isWindow());
            QVERIFY(notice->windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(notice->windowType(), Qt::Dialog);
            QCOMPARE(notice->geometry(), QRect(w->pos() + placement.offset, placement.size));
            auto *bar = notice->findChild<TopButtonForMouseMove *>(QLatin1String(placement.barName));
            QVERIFY2(bar, placement.barName);
            QCOMPARE(bar->geometry(), QRect(0, 0, placement.size.width(), 37));
            // The close button (top right) lies above the bar and still gets the
            // clicks; everywhere else along the bar (title and icon included) a
            // press lands on the bar.
            notice->show();
            for (int x = 2; x < placement.size.width() - 50; x += 9)
                QVERIFY2(notice->childAt(x, 18) == bar, qPrintable(QStringLiteral("%1 at %2").arg(QLatin1String(placement.name)).arg(x)));
            QWidget *atClose = notice->childAt(placement.size.width() - 20, 15);
            QVERIFY(atClose);
            if (qstrcmp(placement.name, "T_AppState") != 0)
                QVERIFY2(qobject_cast<QPushButton *>(atClose) && atClose != bar, placement.name);
            notice->hide();
        }
    }

    void windowDrag_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("steps");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("top bar") << QPoint(600, 50) << QList<QPoint>{{20, 0}, {20, 30}} << QPoint(40, 30);
        QTest::newRow("lowest line of the band") << QPoint(600, 109) << QList<QPoint>{{-15, 5}} << QPoint(-15, 5);
        QTest::newRow("page area") << QPoint(300, 200) << QList<QPoint>{{40, 30}} << QPoint(0, 0);
        QTest::newRow("jitter") << QPoint(600, 50) << QList<QPoint>{{3, 2}, {-1, 4}} << QPoint(0, 0);
        QTest::newRow("press on a scope button") << QPoint(300, 50) << QList<QPoint>{{40, 30}} << QPoint(0, 0);
        QTest::newRow("small steps after a start") << QPoint(600, 50) << QList<QPoint>{{12, 0}, {1, 1}, {-2, 0}} << QPoint(11, 1);
    }
    void windowDrag()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, steps);
        QFETCH(QPoint, moved);
        const QPoint start = w->pos();
        w->ui->T_D_IsScanning_Stop->show();
        // Through the top bar's background label, as a real press would arrive.
        QWidget *target = w->childAt(press);
        QVERIFY(target);
        drag(target, target->mapFrom(w, press), steps);
        QCOMPARE(w->pos(), start + moved);
        for (const NoticePlacement &placement : noticePlacements()) {
            auto *notice = w->findChild<QWidget *>(QLatin1String(placement.name));
            QCOMPARE(notice->pos(), w->pos() + placement.offset);
        }
    }

    void noticeDragMovesOnlyThatNotice()
    {
        QWidget *notice = w->ui->T_D_IsErasing_Stop;
        QWidget *other = w->ui->T_D_About;
        notice->show();
        other->show();
        const QPoint windowPos = w->pos();
        const QPoint otherPos = other->pos();
        const QPoint noticePos = notice->pos();
        auto *bar = notice->findChild<TopButtonForMouseMove *>(QStringLiteral("pTop_T_D_IsErasing_Stop"));
        drag(bar, QPoint(100, 15), {{30, 0}, {30, 40}});
        QCOMPARE(notice->pos(), noticePos + QPoint(60, 40));
        QCOMPARE(w->pos(), windowPos);
        QCOMPARE(other->pos(), otherPos);
        drag(bar, QPoint(100, 15), {{4, 4}}); // below the drag distance
        QCOMPARE(notice->pos(), noticePos + QPoint(60, 40));

        // The next window drag puts it back at its offset.
        drag(w->ui->S_Label_TopBg, QPoint(300, 40), {{20, 20}});
        QCOMPARE(notice->pos(), w->pos() + QPoint(273, 133));
    }

    void hoverMenuOpensAndCloses()
    {
        QWidget *panel = w->ui->T_D_MenuWidget;
        QVERIFY(panel->isHidden());
        hover(w, QPoint(790, 15));
        QVERIFY(!panel->isHidden());
        QCOMPARE(panel->geometry(), MenuPanelGeometry);
        QCOMPARE(iconImage(w->ui->S_Menu_Button->icon()), resourceImage(":/Image/RightTopButton/menu2.png"));
        hover(w, QPoint(800, 32));  // down into the panel
        hover(w, QPoint(840, 200)); // over Exit
        QVERIFY(!panel->isHidden());
        hover(w, QPoint(500, 300));
        QVERIFY(panel->isHidden());
        QCOMPARE(iconImage(w->ui->S_Menu_Button->icon()), resourceImage(":/Image/RightTopButton/menu1.png"));

        // Moves over the button itself, which does not pass them on, open it too.
        QPushButton *button = w->ui->S_Menu_Button;
        sendMouse(button, QEvent::MouseMove, button->mapToGlobal(QPoint(20, 15)), Qt::NoButton);
        QVERIFY(!panel->isHidden());
        QPushButton *help = w->ui->T_D_Help_PushButton;
        sendMouse(help, QEvent::MouseMove, help->mapToGlobal(QPoint(60, 20)), Qt::NoButton);
        QVERIFY(!panel->isHidden());
        QWidget *page = w->ui->A_MP_PleaseConnect_1;
        sendMouse(page, QEvent::MouseMove, page->mapToGlobal(QPoint(400, 200)), Qt::NoButton);
        QVERIFY(panel->isHidden());
    }

    void aboutTwiceLeavesOneAboutOnTop()
    {
        QPushButton *about = w->ui->T_D_About_PushButton;
        about->click();
        about->click();
        int visibleAbouts = 0;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("T_D_About") && top->isVisible())
                ++visibleAbouts;
        }
        QCOMPARE(visibleAbouts, 1);
        QCOMPARE(w->ui->T_D_About->pos(), w->pos() + QPoint(198, 140));
        w->ui->T_D_About_Exit_PushButton->click();
        QVERIFY(w->ui->T_D_About->isHidden());
    }

    void buttonsThatOnlyHideTheirNotice_data()
    {
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("button");
        QTest::newRow("about close") << "T_D_About" << "T_D_About_Exit_PushButton";
        QTest::newRow("driver error OK") << "A_MP_D_DirverError_1_1" << "MP_D_ConnectedError_Button_Ok";
        QTest::newRow("driver error close") << "A_MP_D_DirverError_1_1" << "MP_D_ConnectedError_Button_Close";
        QTest::newRow("reconnect OK") << "A_MP_D_ReconnectDevice" << "A_MP_D_ReconnectDevice_Ok";
        QTest::newRow("reconnect close") << "A_MP_D_ReconnectDevice" << "A_MP_D_ReconnectDevice_PushButton_Close";
        QTest::newRow("port used close") << "A_MP_D_PortUsed" << "A_MP_D_PortUsed_PushButton_Close";
        QTest::newRow("cancel not answered OK") << "T_D_CancelNoAnswer" << "T_D_CancelNoAnswer_PushButton_Ok";
        QTest::newRow("cancel not answered close") << "T_D_CancelNoAnswer" << "T_D_CancelNoAnswer_Close";
    }
    void buttonsThatOnlyHideTheirNotice()
    {
        QFETCH(QString, notice);
        QFETCH(QString, button);
        auto *n = w->findChild<QWidget *>(notice);
        auto *b = w->findChild<QPushButton *>(button);
        QVERIFY(n && b);
        n->show();
        b->click();
        QVERIFY(n->isHidden());
        b->click(); // closing twice changes nothing
        QVERIFY(n->isHidden());
    }

    void linksOpenTheShippedGuide_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("section");
        QTest::newRow("help") << "T_D_Help_PushButton" << "";
        QTest::newRow("about link") << "T_D_About_Label_Url" << "";
        QTest::newRow("driver link") << "MP_D_ConnectedError_Button_Url" << "usb-drivers";
    }
    void linksOpenTheShippedGuide()
    {
        QFETCH(QString, button);
        QFETCH(QString, section);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        w->findChild<QPushButton *>(button)->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        const QUrl url = catcher.urls.first();
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.fragment(), section);
        QFile guide(url.toLocalFile());
        QVERIFY2(guide.open(QIODevice::ReadOnly), qPrintable(url.toLocalFile()));
        const QByteArray html = guide.readAll();
        QVERIFY(html.contains("USB debugging"));
        if (!section.isEmpty())
            QVERIFY(html.contains("id=\"" + section.toLatin1() + "\""));
    }

    // A scope button the user cannot use does not look usable: its disabled
    // face differs from its normal one (it starts disabled, waiting for the
    // phone).
    void disabledScopeButtonsLookDisabled()
    {
        for (QPushButton *b : {w->ui->S_MyPhone_Button, w->ui->S_All_Button, w->ui->S_Private_Button,
                               w->ui->S_App_Button}) {
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
            const QImage disabled = b->grab().toImage();
            b->setEnabled(true);
            const QImage enabled = b->grab().toImage();
            QVERIFY2(!disabled.isNull() && disabled != enabled, qPrintable(b->objectName()));
        }
    }

    void myPhoneShowsThePhonePage_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<bool>("stopsPhotos");
        QTest::newRow("all") << int(EraseType::All) << false;
        QTest::newRow("private") << int(EraseType::Private) << true;
        QTest::newRow("app") << int(EraseType::App) << false;
    }
    void myPhoneShowsThePhonePage()
    {
        QFETCH(int, scope);
        QFETCH(bool, stopsPhotos);
        w->m_eraseType = static_cast<EraseType>(scope);
        w->m_timerGetPhotoByTime->start(2000);
        w->m_timerUpdateTablePhoto->start(1000);
        w->hidePages();
        w->ui->B_EAll_ToScan->show();
        w->ui->S_MyPhone_Button->setEnabled(true);
        w->ui->S_MyPhone_Button->click();
        QStringList visible;
        for (QWidget *page : qAsConst(w->m_pageList)) {
            if (!page->isHidden())
                visible << page->objectName();
        }
        QCOMPARE(visible, QStringList{QStringLiteral("A_MP_ConnectedInfomation_5")});
        // From the private results the photo fetching stops first.
        QCOMPARE(w->m_timerGetPhotoByTime->isActive(), !stopsPhotos);
        QCOMPARE(w->m_timerUpdateTablePhoto->isActive(), !stopsPhotos);
        QCOMPARE(w->m_timerCheckStopGetPhotoSwitchedAllApp->isActive(), stopsPhotos);
        if (stopsPhotos)
            QCOMPARE(w->m_timerCheckStopGetPhotoSwitchedAllApp->interval(), 100);
    }
};

QTEST_MAIN(TestWindowShell)
#include "tst_windowshell.moc"
