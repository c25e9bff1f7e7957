#include "conversion/DocumentRun.h"

#include <QFile>

#include "platform/AppError.h"

namespace Word1 {

void PageInFlight::discard() {
    conversion.abandon();
    QFile::remove(bmp);
    QFile::remove(jpg);
}

DocumentRun::DocumentRun(ConversionWindow& runWindow, const QString& path)
    : window(runWindow),
      documentPath(path),
      guard(QStringLiteral("in Tessary2017/04/05.Word1.SaveDocAsPCX ")) {}

wordclient::WordApplication& DocumentRun::engine() const {
    if (!word) throw platform::AppError(91, QStringLiteral("Object variable or With block variable not set"));
    return *word;
}

}  // namespace Word1
