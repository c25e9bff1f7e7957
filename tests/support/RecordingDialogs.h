#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Services.h"

namespace testsupport {

// Answers every box from queued answers and records what was shown. Installs itself for its life.
class RecordingDialogs : public platform::Dialogs {
  public:
    struct Shown {
        QString kind;  // "message", "input", "folder", "files"
        QString text;  // message text, prompt or title
        QString caption;
        platform::MessageButtons buttons = platform::MessageButtons::Ok;
        platform::MessageIcon icon = platform::MessageIcon::None;
    };

    RecordingDialogs();
    ~RecordingDialogs() override;

    // Answers to give, first in first out. Without a queued answer: Yes / OK, the proposed
    // text of an input box, and "" (cancel) for the folder and file dialogs.
    std::deque<platform::MessageAnswer> messageAnswers;
    std::deque<QString> inputAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QString> fileAnswers;

    std::vector<Shown> shown;
    std::function<void()> onMessage;  // runs as each message box is shown

    // Texts of the message boxes shown, in order.
    QStringList messageTexts() const;
    // Message boxes with the caption "Application Error".
    std::vector<Shown> errorReports() const;

    platform::MessageAnswer messageBox(QWidget* owner, const QString& text, const QString& caption,
                                       platform::MessageButtons buttons, platform::MessageIcon icon) override;
    QString inputBox(QWidget* owner, const QString& prompt, const QString& caption,
                     const QString& proposed) override;
    QString browseForFolder(QWidget* owner, const QString& title) override;
    QString openFiles(QWidget* owner, const QString& title, const QString& filter) override;

  private:
    platform::services::Override<platform::Dialogs> installed_;
};

}  // namespace testsupport
