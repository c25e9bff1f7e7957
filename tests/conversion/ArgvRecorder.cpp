// Test helper: writes its arguments after the first, each ended by a NUL byte, into the file named
// by the first argument, and exits with the code in the environment variable RECORDER_EXIT_CODE.
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 100;
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) return 101;
    for (int i = 2; i < argc; ++i) std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, file);
    std::fclose(file);
    const char* code = std::getenv("RECORDER_EXIT_CODE");
    return code != nullptr ? std::atoi(code) : 0;
}
