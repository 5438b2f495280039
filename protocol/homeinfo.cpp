// The phone's particulars from the home-info reply, shown on the phone page
// and the scan page.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>

#include "app/widgetvisibility.h"
#include "protocol/records.h"

void MainWindow::updateHomeInfo()
{
    appendHiddenTrace(ui->testLabel_2, QStringLiteral("upHo ,"));
    if (!m_homeInfoList.isEmpty()) {
        const proto::HomeInfoFields f = proto::homeInfoFields(m_homeInfoList);
        m_phoneModel = f.model;
        m_systemVersion = f.version;
        m_sdkLevelText = f.sdkText;
        m_sdkLevel = f.sdkLevel;
        m_homeInfoField4 = f.field4;
        m_romTotal = f.romTotal;
        m_romFree = f.romFree;
        m_sdTotal = f.sdTotal;
        m_sdFree = f.sdFree;

        ui->MP_Label_PhoneName->setText(f.model);
        ui->MP_Label_Model->setText(f.model);
        ui->EAll_Label_PhoneVersion->setText(f.model);
        ui->MP_Label_SystemVersion->setText(f.version);
        ui->MP_Label_SerialNumber->setText(f.serial);
        ui->MP_Label_Power->setText(m_powerLevel + QStringLiteral("%")); // from the device link
        // The label names are crossed over: "Free" shows the total and
        // "Total" the free space.
        ui->MP_Label_Phone_Free->setText(tr("Total:") + f.romTotal);
        ui->EAll_Label_RomTotal->setText(tr("%1 Total").arg(f.romTotal));
        ui->MP_Label_Phone_Total->setText(tr("Free:") + f.romFree);
        ui->EAll_Label_RomFree->setText(tr("%1 Free").arg(f.romFree));
        ui->MP_Label_Sdcard_Free->setText(tr("Total:") + f.sdTotal);
        ui->MP_Label_Sdcard_Total->setText(tr("Free:") + f.sdFree);

        const double romFree = proto::storageNumber(f.romFree);
        const double romTotal = proto::storageNumber(f.romTotal);
        const int phonePercent = proto::storagePercent(f.romFree, f.romTotal);
        if (phonePercent >= 0)
            ui->MP_ProgressBar_Phone->setValue(phonePercent);
        const double used = romTotal - romFree;
        ui->EAll_Label_RomUsed->setText(tr("%1 Used").arg(proto::generalNumber(used)));
        qDebug() << "romA" << f.romFree << "romT" << f.romTotal;
        qDebug() << "strA" << romFree << "strT" << romTotal;

        const int sdPercent = proto::storagePercent(f.sdFree, f.sdTotal);
        if (sdPercent >= 0)
            ui->MP_ProgressBar_Sdcard->setValue(sdPercent);

        const QString g = QStringLiteral(",");
        appendHiddenTrace(ui->label_test_debug,
                          QStringLiteral("pFree:") + f.romFree + g + QStringLiteral("pTotal:") + f.romTotal + g
                              + QStringLiteral("sFree:") + f.sdFree + g + QStringLiteral("sTotal:") + f.sdTotal + g
                              + QStringLiteral("rT:") + proto::generalNumber(romTotal) + g
                              + QStringLiteral("rA:") + proto::generalNumber(romFree) + g
                              + QStringLiteral("rC:") + proto::generalNumber(used) + g
                              + QStringLiteral("rR:") + proto::generalNumber(used) + g);
    }
    // The phone page opens with the connection's first reply; later replies
    // only refresh its labels and never take the user off another page. The
    // phone page is the device link's: a report held in front stays.
    if (m_homeInfoShown)
        return;
    m_homeInfoShown = true;
    showLinkPage(ui->A_MP_ConnectedInfomation_5);
    qDebug() << " home info for ui";
    ui->S_MyPhone_Button->setEnabled(true);
    ui->S_All_Button->setEnabled(true);
    ui->S_Private_Button->setEnabled(true);
    ui->S_App_Button->setEnabled(true);
    placeNotices();
}

void MainWindow::resetHomeInfoDisplay()
{
    const QList<QLabel *> labels = {ui->MP_Label_PhoneName,    ui->MP_Label_Model,      ui->EAll_Label_PhoneVersion,
                                    ui->MP_Label_SystemVersion, ui->MP_Label_SerialNumber, ui->MP_Label_Phone_Free,
                                    ui->MP_Label_Phone_Total,  ui->MP_Label_Sdcard_Free,  ui->MP_Label_Sdcard_Total,
                                    ui->EAll_Label_RomTotal,   ui->EAll_Label_RomFree,    ui->EAll_Label_RomUsed,
                                    ui->MP_Label_Power};
    for (QLabel *label : labels)
        label->clear();
    ui->MP_ProgressBar_Phone->setValue(0);
    ui->MP_ProgressBar_Sdcard->setValue(0);
    m_homeInfoShown = false;
}
