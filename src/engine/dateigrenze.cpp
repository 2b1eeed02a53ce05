#include "engine/dateigrenze.h"

#include <sys/resource.h>

namespace tarvendo {

void erhöhe_dateigrenze() noexcept {
    rlimit grenze{};
    if (::getrlimit(RLIMIT_NOFILE, &grenze) != 0 || grenze.rlim_cur >= grenze.rlim_max) return;
    grenze.rlim_cur = grenze.rlim_max;
    (void)::setrlimit(RLIMIT_NOFILE, &grenze);
}

}  // namespace tarvendo
