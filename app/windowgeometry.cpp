#include "windowgeometry.h"

#include <algorithm>

namespace app::windowgeometry {

QPoint centredPosition(const QRect &available, const QSize &window)
{
    const int availableWidth = available.right() - available.left() + 1;
    const int availableHeight = available.bottom() - available.top() + 1;
    const int x = std::max(0, (availableWidth - window.width()) / 2);
    const int y = std::max(0, (availableHeight - window.height()) / 2);
    return available.topLeft() + QPoint(x, y);
}

bool inDragBand(const QPoint &pressOffset)
{
    return pressOffset.x() >= 1 && pressOffset.x() <= 899 && pressOffset.y() >= 1 && pressOffset.y() <= 109;
}

bool dragStarted(const QPoint &pressGlobal, const QPoint &currentGlobal, int startDragDistance)
{
    return (currentGlobal - pressGlobal).manhattanLength() > startDragDistance;
}

MenuHover menuHover(const QPoint &pos, bool panelVisible)
{
    const int x = pos.x();
    const int y = pos.y();
    const bool overButton = x >= 772 && x <= 813 && y >= 1 && y <= 30;
    const bool overPanel = x >= 771 && x <= 900 && y >= 31 && y <= 239;
    if (overButton)
        return panelVisible ? MenuHover::Keep : MenuHover::Open;
    if (overPanel)
        return MenuHover::Keep;
    return panelVisible ? MenuHover::Close : MenuHover::Keep;
}

const QVector<NoticePlacement> &noticePlacements()
{
    static const QVector<NoticePlacement> placements = {
        {"T_D_IsScanning_Stop", {273, 133}, {354, 205}, "pTop_T_D_IsScanning_Stop"},
        {"T_D_IsErasing_Stop", {273, 133}, {354, 205}, "pTop_T_D_IsErasing_Stop"},
        {"T_D_ConformEraseLineEditIsImpty", {273, 133}, {354, 205}, "pTop_T_D_ConformEraseLineEditIsImpty"},
        {"T_D_SelectedItemLessOne", {273, 133}, {354, 205}, "pTop_T_D_SelectedItemLessOne"},
        {"T_D_FactoryDataReset", {273, 133}, {354, 205}, "pTop_T_D_FactoryDataReset"},
        {"T_D_CancelNoAnswer", {273, 133}, {354, 205}, "pTop_T_D_CancelNoAnswer"},
        {"T_AppState", {273, 133}, {354, 205}, "pTop_T_AppState"},
        {"A_MP_D_ReconnectDevice", {240, 200}, {413, 223}, "pTop_A_MP_D_ReconnectDevice"},
        {"A_MP_D_PortUsed", {240, 200}, {413, 223}, "pTop_A_MP_D_PortUsed"},
        {"A_MP_D_DirverError_1_1", {180, 133}, {521, 334}, "pTop_A_MP_D_DirverError_1_1"},
        {"A_MP_D_LinkHelp", {180, 133}, {521, 334}, "pTop_A_MP_D_LinkHelp"},
        {"T_M_SelectLevel_1_1", {180, 133}, {520, 352}, "pTop_T_M_SelectLevel_1_1"},
        {"T_D_About", {198, 140}, {503, 287}, "pTop_About"},
        {"T_D_EraseCancelled", {190, 150}, {520, 300}, "pTop_T_D_EraseCancelled"},
    };
    return placements;
}

QVector<int> centredRow(const QVector<int> &widths, int areaWidth)
{
    int total = 0;
    for (int width : widths)
        total += width;
    QVector<int> lefts;
    int left = std::max(0, (areaWidth - total) / 2);
    for (int width : widths) {
        lefts.append(left);
        left += width;
    }
    return lefts;
}

QStringList pageNames()
{
    return {
        QStringLiteral("A_MP_PleaseConnect_1"),
        QStringLiteral("A_MP_USBDebugTourial_2"),
        QStringLiteral("A_MP_IsInstalling_4"),
        QStringLiteral("A_MP_ConnectedInfomation_5"),
        QStringLiteral("A_MP_ChangeDefault_SMS_Widget"),
        QStringLiteral("B_EAll_ToScan"),
        QStringLiteral("C_EPrivate_IsScanning_2"),
        QStringLiteral("D_EApp_ToScanAndIsScanning"),
        QStringLiteral("M_ConformErase_1"),
        QStringLiteral("M_IsErasing_2"),
        QStringLiteral("M_EraseCompleted_3"),
        QStringLiteral("M_All_Private_IsScanning"),
    };
}

} // namespace app::windowgeometry
