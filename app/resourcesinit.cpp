#include "resourcesinit.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the resources' own functions where it stands, so
// it stands outside every namespace, the anonymous one included.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(purgatex_translations);
}

namespace app {

// The pictures, the guide and the translations are compiled into the
// product library; a static library needs its resources registered once by
// hand.
void initPurgatexResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerResources();
}

} // namespace app
