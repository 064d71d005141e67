// Allocates a block and loses the only pointer to it: the leak check at exit must say so.

#include <cstdio>
#include <cstdlib>

int main() {
    void* volatile block = std::malloc(64);
    std::printf("allocated %p\n", block);
    block = nullptr;
    return 0;
}
