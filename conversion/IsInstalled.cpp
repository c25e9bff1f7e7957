#include "conversion/IsInstalled.h"

#include <memory>

#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "wordclient/WordApplication.h"

namespace IsInstalled {

void IsWordInstalled() {
    // Every failure is ignored: a failed creation is exactly what this reports.
    try {
        std::unique_ptr<wordclient::WordApplication> word;
        try {
            word = wordclient::wordFactory().createObject();
        } catch (...) {
        }
        if (!word) {
            platform::dialogs().messageBox(
                nullptr,  // the active window
                QStringLiteral("Word is not installed on this computer. You need to have it installed to use "
                               "this software without error."),
                platform::applicationTitle(), platform::MessageButtons::Ok, platform::MessageIcon::None);
            return;
        }
        try {
            word->quit();
        } catch (...) {
        }
    } catch (...) {
    }
}

}  // namespace IsInstalled
