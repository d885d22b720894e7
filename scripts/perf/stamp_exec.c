// stamp_exec FILE COMMAND [ARGS...]: writes "<pid> <CLOCK_MONOTONIC ns>" to FILE and becomes
// COMMAND. The process keeps its id, so FILE holds the launch moment and the id to watch.
#include <stdio.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: stamp_exec FILE COMMAND [ARGS...]\n");
        return 2;
    }
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    FILE* f = fopen(argv[1], "w");
    if (!f) {
        perror(argv[1]);
        return 2;
    }
    fprintf(f, "%d %lld\n", (int)getpid(), ts.tv_sec * 1000000000LL + ts.tv_nsec);
    fclose(f);
    execvp(argv[2], argv + 2);
    perror(argv[2]);
    return 127;
}
