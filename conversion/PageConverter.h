#pragma once

#include <QString>
#include <exception>

#include "conversion/Shell32.h"

namespace Word1 {

// The converter run of one page, started now and finished later, so the next page can be made
// while it runs. Whatever goes wrong is kept and thrown by finish(), at the page's own step.
class PageConversion {
  public:
    // Starts the converter unless its file is missing or not safe to run.
    void start(const QString& converterFile, const QString& commandLine, const QString& pcxPath);
    // Waits for the converter and checks that it left its PCX file. Throws platform::AppError
    // when the converter file was not safe to run, could not be started, failed, or left no output.
    void finish();
    // Ends a converter still running, so it removes its unfinished PCX file; nothing is reported.
    void abandon();
    bool pending() const { return pending_; }

  private:
    Shell32::RunningProgram program_;
    QString pcxPath_;
    std::exception_ptr startFailure_;
    bool pending_ = false;
};

}  // namespace Word1
