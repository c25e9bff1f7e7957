#include "tests/support/RecordingDialogs.h"

namespace testsupport {

using platform::MessageAnswer;

RecordingDialogs::RecordingDialogs() : installed_(this) {}
RecordingDialogs::~RecordingDialogs() = default;

QStringList RecordingDialogs::messageTexts() const {
    QStringList texts;
    for (const Shown& box : shown) {
        if (box.kind == QLatin1String("message")) texts << box.text;
    }
    return texts;
}

std::vector<RecordingDialogs::Shown> RecordingDialogs::errorReports() const {
    std::vector<Shown> reports;
    for (const Shown& box : shown) {
        if (box.kind == QLatin1String("message") && box.caption == QLatin1String("Application Error")) {
            reports.push_back(box);
        }
    }
    return reports;
}

MessageAnswer RecordingDialogs::messageBox(QWidget*, const QString& text, const QString& caption,
                                           platform::MessageButtons buttons, platform::MessageIcon icon) {
    shown.push_back({QStringLiteral("message"), text, caption, buttons, icon});
    if (onMessage) onMessage();
    if (!messageAnswers.empty()) {
        const MessageAnswer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return buttons == platform::MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

namespace {
QString take(std::deque<QString>& queue, const QString& fallback) {
    if (queue.empty()) return fallback;
    QString answer = queue.front();
    queue.pop_front();
    return answer;
}
}  // namespace

QString RecordingDialogs::inputBox(QWidget*, const QString& prompt, const QString& caption,
                                   const QString& proposed) {
    shown.push_back({QStringLiteral("input"), prompt, caption});
    return take(inputAnswers, proposed);
}

QString RecordingDialogs::browseForFolder(QWidget*, const QString& title) {
    shown.push_back({QStringLiteral("folder"), title, QString()});
    return take(folderAnswers, QString());
}

QString RecordingDialogs::openFiles(QWidget*, const QString& title, const QString& filter) {
    shown.push_back({QStringLiteral("files"), title, filter});
    return take(fileAnswers, QString());
}

}  // namespace testsupport
