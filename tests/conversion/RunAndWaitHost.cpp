// Test helper: runs its one argument as a command line through RunAndWait and exits with its result.
#include <QString>

#include "conversion/Shell32.h"

int main(int argc, char** argv) {
    if (argc != 2) return 100;
    return Shell32::RunAndWait(QString::fromLocal8Bit(argv[1])) == 0 ? 0 : 1;
}
