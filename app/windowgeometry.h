#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QVector>

// Placement rules of the frameless window, its notices and its hover menu.
// Pure functions, so that they can be checked without a screen.
namespace app::windowgeometry {

constexpr int WindowWidth = 900;
constexpr int WindowHeight = 600;
// Pages lie below the top bar and fill the rest of the window.
constexpr QRect PageGeometry(0, 110, 900, 490);
// The menu panel, in window coordinates.
constexpr QRect MenuPanelGeometry(770, 30, 131, 201);
// Height of the drag bar at the top of every notice.
constexpr int NoticeBarHeight = 37;

// Where the window opens: centred in the available area of the screen.
// The available area is given as a rectangle whose width and height are
// right - left + 1 and bottom - top + 1. The result lies inside that area
// (its origin is added, and a screen smaller than the window puts the
// window at the area's top-left corner so that its top bar stays reachable).
QPoint centredPosition(const QRect &available, const QSize &window = QSize(WindowWidth, WindowHeight));

// A press at this offset from the window's top-left corner may drag the
// window: only the top band (the bar with the logo and the scope buttons).
bool inDragBand(const QPoint &pressOffset);

// A drag starts once the mouse has moved further than the platform's
// start-drag distance from the press point (Manhattan length).
bool dragStarted(const QPoint &pressGlobal, const QPoint &currentGlobal, int startDragDistance);

enum class MenuHover { Keep, Open, Close };
// What the hover menu does for a mouse position (window coordinates).
MenuHover menuHover(const QPoint &pos, bool panelVisible);

struct NoticePlacement
{
    const char *name;
    QPoint offset; // from the window's top-left corner on the screen
    QSize size;
    const char *barName; // object name of its drag bar
};
// Every notice window of the program, with its place and size.
const QVector<NoticePlacement> &noticePlacements();

// Left edges of pieces of one line of text set side by side (widths given
// in order), the whole line centred in an area of the given width.
QVector<int> centredRow(const QVector<int> &widths, int areaWidth);

// Object names of the twelve pages, in their fixed order.
QStringList pageNames();

} // namespace app::windowgeometry
