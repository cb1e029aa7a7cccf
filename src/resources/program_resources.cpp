#include "resources/program_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE names a function of the global namespace.
static void RegisterProgramResources() {
    Q_INIT_RESOURCE(program_resources);
}

void InitProgramResources() {
    static const bool registered = (RegisterProgramResources(), true);
    (void)registered;
}
