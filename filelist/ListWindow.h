#pragma once

#include <QString>

class QWidget;

namespace filelist {

class FileListView;

// What the list's adders and pointer behaviours use of the main window.
class ListWindow {
  public:
    virtual ~ListWindow() = default;
    virtual QWidget* window() = 0;         // owner of the boxes
    virtual FileListView& list() = 0;      // ListView1
    virtual int mousePointer() const = 0;  // a platform::kPointer... code
    virtual void setMousePointer(int code) = 0;
};

}  // namespace filelist
