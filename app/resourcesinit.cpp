#include "resourcesinit.h"

#include <QtGlobal>

// The pictures and the guide are compiled into the product library; a static
// library needs its resources registered once by hand.
void initPurgatexResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Q_INIT_RESOURCE(resources);
}
