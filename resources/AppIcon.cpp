#include "resources/AppIcon.h"

namespace resources {

QIcon applicationIcon() { return QIcon(QStringLiteral(":/Marrowdale/Marrowdale.ico")); }

}  // namespace resources
