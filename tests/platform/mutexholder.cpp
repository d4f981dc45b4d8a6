// Holds a named mutex until killed: mutexholder <name>. Prints "held" or "busy".
#include "namedmutex.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    platform::NamedMutex mutex(argv[1]);
    std::puts(mutex.isHeld() ? "held" : "busy");
    std::fflush(stdout);
    if (!mutex.isHeld())
        return 1;
    for (int i = 0; i < 600; ++i)
        ::sleep(1);
    return 0;
}
