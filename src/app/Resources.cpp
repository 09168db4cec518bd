#include "app/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must stand outside any namespace.
static void initCompiledResources()
{
    Q_INIT_RESOURCE(resources);
}

void InitResources()
{
    static const bool done = [] {
        initCompiledResources();
        return true;
    }();
    Q_UNUSED(done);
}
