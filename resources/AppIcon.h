#pragma once

#include <QIcon>

namespace resources {

// The application icon (our own drawing), carried inside the program.
QIcon applicationIcon();

}  // namespace resources
