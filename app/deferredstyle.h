#pragma once

// Styling the parts of a window that are not on screen is left out of the
// window's first show. Showing a window styles (polishes) every widget it
// holds, hidden ones included: with style sheets on most widgets that is the
// larger part of the time to the first frame, and the pictures those sheets
// name are read with it. A deferred part (a hidden page or notice, with
// everything on it) is instead styled, as a whole, just before any widget of
// it is first shown or painted, when ensureStyled() reaches it, or by
// styleRemaining() once the first frame is out. Styling is the very polish
// the window's show would have given each widget, in the same order (parent
// before children); only its moment differs.
//
// What a widget's ensurePolished() cannot do for a deferred widget (its
// window's show has marked it polished already) ensureStyled() does: code
// that measures the text of a widget that may not have been on screen yet
// calls ensureStyled() instead.

#include <QList>

class QWidget;

namespace app::deferredstyle {

// Leaves these widgets, and every widget on them, out of the polish that
// the next show of their window gives; call it right before that show.
void defer(const QList<QWidget *> &parts);

// Styles the deferred part that holds w (if w is in one), then makes sure w
// itself is polished: afterwards w's font, palette and size hint are the
// ones its style sheets give it.
void ensureStyled(QWidget *w);

// Styles the deferred parts still waiting, one per turn of the event loop,
// so that no turn is held up for long.
void styleRemaining();

// The deferred parts not yet styled.
int pendingParts();

} // namespace app::deferredstyle
