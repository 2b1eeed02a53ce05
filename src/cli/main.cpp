#include <cstdio>

int main() {
    std::fputs("Aufruf: tarvendo-cli vergleichen QUELLE ZIEL\n", stderr);
    return 2;
}
