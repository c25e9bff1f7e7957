// The check made before every run: is an engine already open for this user?
#include "conversion/Word1.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "wordclient/WordApplication.h"

namespace Word1 {

bool IsWordRunning() {
    try {
        // Attached, not created: releasing it must leave the user's engine running.
        const std::unique_ptr<wordclient::WordApplication> word = wordclient::wordFactory().getObject();
        return word != nullptr && word->name() == wordclient::kWordName;
    } catch (...) {
        return false;
    }
}

bool ConfirmWordNotRunning(QWidget* owner) {
    if (!IsWordRunning()) return false;
    const platform::MessageAnswer answer = platform::dialogs().messageBox(
        owner,
        QStringLiteral(
            "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > Task "
            "Manager > WINWORD.EXE if necessary.\r\n\r\nWould you like to proceed anyway?"),
        platform::applicationTitle(), platform::MessageButtons::YesNo, platform::MessageIcon::None);
    return answer != platform::MessageAnswer::Yes;
}

}  // namespace Word1
