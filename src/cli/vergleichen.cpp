#include <cstdio>

#include "cli/befehle.h"

namespace tarvendo::cli {

int vergleichen(const char*, const char*) {
    std::fputs("vergleichen: noch nicht gebaut\n", stderr);  // placeholder until the scan lands
    return 2;
}

}  // namespace tarvendo::cli
