#pragma once

#include <QWidget>

namespace app {

// Widgets are shown or hidden only when their state differs from the wanted
// one. The explicit hidden state is what counts, so the rule also holds while
// the window itself is not on screen (tests, start-up).
inline void showWidget(QWidget *w)
{
    if (w && w->isHidden())
        w->show();
}

inline void hideWidget(QWidget *w)
{
    if (w && !w->isHidden())
        w->hide();
}

inline void setWidgetShown(QWidget *w, bool shown)
{
    if (shown)
        showWidget(w);
    else
        hideWidget(w);
}

} // namespace app
