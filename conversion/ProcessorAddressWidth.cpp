#include <sys/utsname.h>

#include <QSet>

#include "conversion/ConverterTool.h"

namespace Main {

// The processor, not the program: a 32-bit program on a 64-bit kernel still answers "64",
// as the management query did.
QString ProcessorAddressWidth() {
    static const QSet<QString> sixtyFourBit = {
        QStringLiteral("x86_64"),  QStringLiteral("amd64"),       QStringLiteral("aarch64"),
        QStringLiteral("arm64"),   QStringLiteral("ppc64"),       QStringLiteral("ppc64le"),
        QStringLiteral("s390x"),   QStringLiteral("riscv64"),     QStringLiteral("mips64"),
        QStringLiteral("sparc64"), QStringLiteral("loongarch64"), QStringLiteral("alpha"),
        QStringLiteral("ia64")};
    struct utsname name {};
    if (::uname(&name) != 0) return QString();
    return sixtyFourBit.contains(QString::fromLatin1(name.machine)) ? QStringLiteral("64")
                                                                    : QStringLiteral("32");
}

}  // namespace Main
