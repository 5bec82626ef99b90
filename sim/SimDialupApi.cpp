// The binding table over the substitute library.
#include "sim/SimDialupApi.h"

#include "sim/SimRasApi.h"

DialupApi SimDialupApi() {
    static char marker;
    DialupApi api;
    api.library = &marker;
#define SIM_BIND(name, type) api.name = &::name;
    DIALUP_OPERATIONS(SIM_BIND)
#undef SIM_BIND
    return api;
}
