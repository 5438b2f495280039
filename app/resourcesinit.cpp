#include "resourcesinit.h"

#include <QtGlobal>

// The pictures, the guide and the translations are compiled into the
// product library; a static library needs its resources registered once by
// hand.
void initPurgatexResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(purgatex_translations);
}
