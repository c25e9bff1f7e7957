#pragma once

#include <QString>

namespace platform {

// The folder of the running program (no trailing "/"): the skin, the pointers, the samples and
// the engine host are looked up there. Tests point it at the built program folder.
QString programFolder();
void setProgramFolder(const QString& folder);  // "" goes back to the executable's folder

// The short title shown as the caption of every box that names no caption of its own.
QString applicationTitle();
void setApplicationTitle(const QString& title);

}  // namespace platform
