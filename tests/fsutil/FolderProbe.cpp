// Walks the folder trees below its arguments and prints the resulting list, one folder a line,
// or "error N". The folder tests run it as an unprivileged user to meet folders it may not read.
#include <QFile>
#include <cstdio>

#include "fsutil/AddFolder.h"
#include "platform/AppError.h"

int main(int argc, char** argv) {
    QStringList folders;
    for (int i = 1; i < argc; ++i) folders << QFile::decodeName(argv[i]);
    try {
        AddFolder::CollectSubfolders(folders, true);
    } catch (const platform::AppError& error) {
        std::printf("error %ld\n", error.number());
        return 3;
    }
    for (const QString& folder : folders) std::printf("%s\n", QFile::encodeName(folder).constData());
    return 0;
}
