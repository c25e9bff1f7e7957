#include "platform/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStandardPaths>

namespace platform {

namespace {

QWidget* boxOwner(QWidget* owner) { return owner != nullptr ? owner : QApplication::activeWindow(); }

// The folder of the first file picked with OK during this session; empty before that.
QString& lastFileDialogFolder() {
    static QString folder;
    return folder;
}

// Room beside the caption for the frame's icon and buttons.
constexpr int kCaptionFrameAllowance = 160;

QString existingFolderOr(const QString& folder, const QString& fallback) {
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

// The described texts break lines with "\r", which Qt's labels draw as a blank.
QString shownText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The window manager draws the caption in its own, often larger and bold, font beside an icon
// and two or three buttons; a box sized for its text alone shows a short caption as "M...".
void makeRoomForCaption(QMessageBox& box, const QString& caption) {
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    const int width = QFontMetrics(titleFont).horizontalAdvance(caption) + kCaptionFrameAllowance;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        box.setMinimumWidth(width);
        return;
    }
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                  1, grid->columnCount());
}

}  // namespace

QString fileDialogStartFolder() {
    const QString home = QDir::homePath();
    const QString documents =
        existingFolderOr(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), home);
    return existingFolderOr(lastFileDialogFolder(), documents);
}

QString folderPickerStartFolder() {
    return existingFolderOr(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                            QDir::homePath());
}

MessageAnswer QtDialogs::messageBox(QWidget* owner, const QString& text, const QString& caption,
                                    MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                    shownText(text), QMessageBox::NoButton, boxOwner(owner));
    makeRoomForCaption(box, caption);
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setWindowModality(Qt::ApplicationModal);
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString QtDialogs::inputBox(QWidget* owner, const QString& prompt, const QString& caption,
                            const QString& proposed) {
    bool accepted = false;
    const QString text = QInputDialog::getText(boxOwner(owner), caption, shownText(prompt), QLineEdit::Normal,
                                               proposed, &accepted);
    return accepted ? text : QString();
}

QString QtDialogs::browseForFolder(QWidget* owner, const QString& title) {
    const QString chosen = QFileDialog::getExistingDirectory(
        boxOwner(owner), title, folderPickerStartFolder(), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return QString();
    // The root keeps its own "/"; any other folder comes back without one.
    if (chosen.size() > 1 && chosen.endsWith(QLatin1Char('/'))) return chosen.chopped(1);
    return chosen;
}

QString QtDialogs::openFiles(QWidget* owner, const QString& title, const QString& filter) {
    QFileDialog dialog(boxOwner(owner), title, fileDialogStartFolder(), qtNameFilters(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QStringList picked = dialog.selectedFiles();
    if (!picked.isEmpty()) lastFileDialogFolder() = QFileInfo(picked.front()).absolutePath();
    return joinPickedFiles(picked);
}

QString qtNameFilters(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList qtFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            // "*.*" means every file, also names without a dot, which Qt's "*.*" would miss.
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        }
        // Qt reads the patterns from the parentheses at the end of the name, so they are rebuilt there.
        QString name = parts[i].trimmed();
        const qsizetype open = name.lastIndexOf(QLatin1Char('('));
        if (open > 0 && name.endsWith(QLatin1Char(')'))) name = name.left(open).trimmed();
        qtFilters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return qtFilters.join(QStringLiteral(";;"));
}

QString joinPickedFiles(const QStringList& paths) {
    if (paths.isEmpty()) return QString();
    if (paths.size() == 1) return paths.front();
    // The folder is the one all picked files share. Files of several folders (typed names, the
    // recent files) keep the rest of their path in their name, so folder + "/" + name is each
    // file's own full path again.
    const auto inside = [](const QString& path, const QString& folder) {
        return path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
    };
    QString folder = QFileInfo(paths.front()).absolutePath();
    for (const QString& path : paths) {
        while (!inside(path, folder) && folder != QDir::rootPath()) folder = QFileInfo(folder).path();
    }
    QString answer = folder;
    for (const QString& path : paths) {
        answer += QChar(u'\0');
        answer += QDir(folder).relativeFilePath(path);
    }
    return answer;
}

}  // namespace platform
