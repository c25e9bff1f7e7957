#pragma once

#include "platform/Dialogs.h"

namespace platform {

// The real boxes, on Qt's widgets.
class QtDialogs : public Dialogs {
public:
    MessageAnswer messageBox(QWidget* owner, const QString& text, const QString& caption,
                             MessageButtons buttons, MessageIcon icon) override;
    QString inputBox(QWidget* owner, const QString& prompt, const QString& caption,
                     const QString& proposed) override;
    QString browseForFolder(QWidget* owner, const QString& title) override;
    QString openFiles(QWidget* owner, const QString& title, const QString& filter) override;
};

// The file dialog's filter in Qt's form ("Name (pattern pattern);;...") from the pipe form
// "Name|pattern;pattern|Name|pattern". "*.*" becomes "*" so that every file shows.
QString qtNameFilters(const QString& pipeFilter);

// Joins the picked files into the dialog's answer form (see Dialogs::openFiles).
QString joinPickedFiles(const QStringList& paths);

}  // namespace platform
