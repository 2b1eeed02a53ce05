#include <cstdio>

#include "cli/befehle.h"

namespace tarvendo::cli {

int synchronisieren(const char*, const char*) {
    std::fputs("synchronisieren: noch nicht gebaut\n", stderr);  // placeholder until execution lands
    return 2;
}

}  // namespace tarvendo::cli
