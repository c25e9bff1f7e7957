#pragma once

#include "platform/Dialogs.h"

namespace platform {

// The real boxes, on Qt's widgets. A null owner is the active window.
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

// Joins the picked files into the dialog's answer form (see Dialogs::openFiles). Files of several
// folders come as the folder they share and each file's path below it, so that folder + "/" +
// name is every file's full path.
QString joinPickedFiles(const QStringList& paths);

// Where the file dialog opens: the folder of the file last picked in this session, else the
// user's documents folder, else the home folder.
QString fileDialogStartFolder();
// Where the folder picker opens: the desktop folder (the home folder when there is none).
QString folderPickerStartFolder();

}  // namespace platform
