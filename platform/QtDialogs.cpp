#include "platform/QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {
QtDialogs qtDialogs;
Dialogs* current = nullptr;
}  // namespace

Dialogs& dialogs() { return current != nullptr ? *current : qtDialogs; }
void setDialogs(Dialogs* replacement) { current = replacement; }

MessageAnswer QtDialogs::messageBox(QWidget* owner, const QString& text, const QString& caption,
                                    MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                    text, QMessageBox::NoButton, owner);
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
    const QString text =
        QInputDialog::getText(owner, caption, prompt, QLineEdit::Normal, proposed, &accepted);
    return accepted ? text : QString();
}

QString QtDialogs::browseForFolder(QWidget* owner, const QString& title) {
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return QString();
    // The root keeps its own "/"; any other folder comes back without one.
    if (chosen.size() > 1 && chosen.endsWith(QLatin1Char('/'))) return chosen.chopped(1);
    return chosen;
}

QString QtDialogs::openFiles(QWidget* owner, const QString& title, const QString& filter) {
    const QStringList picked = QFileDialog::getOpenFileNames(owner, title, QString(), qtNameFilters(filter));
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
    QString folder = QFileInfo(paths.front()).absolutePath();
    QString answer = folder;
    for (const QString& path : paths) {
        answer += QChar(u'\0');
        answer += QFileInfo(path).fileName();
    }
    return answer;
}

}  // namespace platform
