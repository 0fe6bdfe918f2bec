// A program that stands in for the updater when a firmware package is appended at build time: it has
// to keep running with the package behind its last section.
#include <cstdio>

int main() {
    std::puts("dummy program runs");
    return 7;
}
