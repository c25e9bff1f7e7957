#pragma once

#include <QVBoxLayout>
#include <QWidget>
#include <vector>

#include "filelist/FileListView.h"
#include "filelist/ListWindow.h"
#include "tests/support/QtPrinters.h"

namespace testsupport {

// A plain window holding the list, standing in for the main window; remembers every pointer set.
class TestListWindow : public QWidget, public filelist::ListWindow {
  public:
    TestListWindow() : list_(new filelist::FileListView(this)) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(list_);
        list_->setBusyTest([this] { return pointer_ == 11; });
    }

    QWidget* window() override { return this; }
    filelist::FileListView& list() override { return *list_; }
    int mousePointer() const override { return pointer_; }
    void setMousePointer(int code) override {
        pointer_ = code;
        pointers.push_back(code);
    }

    std::vector<int> pointers;

  private:
    filelist::FileListView* list_;
    int pointer_ = 0;
};

}  // namespace testsupport
