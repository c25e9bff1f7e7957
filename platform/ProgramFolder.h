#pragma once

#include <QString>

namespace platform {

// The folder of the running program (no trailing "/"): the skin, the pointers, the samples and
// the engine host are looked up there. Tests point it at the built program folder with a
// services::Override<ProgramFolderService>.
QString programFolder();

struct ProgramFolderService {
    using Value = QString;
    static QString byDefault();  // the executable's folder
};

// The short title shown as the caption of every box that names no caption of its own.
QString applicationTitle();
// The title the program gives itself at start-up.
void setApplicationTitle(const QString& title);

struct ApplicationTitleService {
    using Value = QString;
    static QString byDefault();  // the title last given with setApplicationTitle
};

}  // namespace platform
