#pragma once

#include <QString>

class QWidget;

namespace platform {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Warning };
enum class MessageAnswer { Ok, Yes, No };

// Every box the program shows goes through this interface, so tests can answer them. A null
// owner stands for the window that is active when the box is shown.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A modal message box with the given caption, buttons and icon; returns the button pressed.
    virtual MessageAnswer messageBox(QWidget* owner, const QString& text, const QString& caption,
                                     MessageButtons buttons, MessageIcon icon) = 0;

    // A modal input box proposing `proposed`; returns the typed text, or "" on Cancel.
    virtual QString inputBox(QWidget* owner, const QString& prompt, const QString& caption,
                             const QString& proposed) = 0;

    // A modal folder picker; returns the chosen folder without an added "/", or "" on cancel.
    virtual QString browseForFolder(QWidget* owner, const QString& title) = 0;

    // A modal file-open dialog for several files. The answer comes in one of three forms:
    // "" when cancelled; the full path of one picked file; or the folder followed by every
    // picked name, each separated by one NUL character.
    virtual QString openFiles(QWidget* owner, const QString& title, const QString& filter) = 0;

    // None: a program puts its boxes in place for its life with a services::Override<Dialogs>
    // (the Qt ones, platform/QtDialogs.h, live in the widget library).
    static Dialogs* byDefault() { return nullptr; }
};

// The dialogs in use (platform/Services.h). Ends the program when none were put in place.
Dialogs& dialogs();

}  // namespace platform
