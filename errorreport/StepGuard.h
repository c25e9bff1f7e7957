#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace errorreport {

// Runs the numbered steps of one guarded procedure. A failing step is reported through the
// "Application Error" box with the procedure's location text and the step number, and the
// procedure goes on with the next step: a failed test enters its branch, a failed loop start
// enters the loop's body, a failed loop advance leaves the loop.
class StepGuard {
  public:
    using Reporter = std::function<void(const QString& location, int step, const QString& description)>;

    explicit StepGuard(QString location);  // reports through ReportApplicationError
    StepGuard(QString location, Reporter reporter);

    // A plain statement; true when it succeeded, false when its failure was reported.
    bool step(int number, const std::function<void()>& statement);
    // The test of a branch; a failure counts as true.
    bool test(int number, const std::function<bool()>& condition);
    // The start of a loop: true when the body is to run; a failure counts as true.
    bool loopStart(int number, const std::function<bool()>& hasFirst);
    // The advance of a loop: true when the body runs again; a failure counts as false.
    bool loopAdvance(int number, const std::function<bool()>& hasNext);

    // Reports a failure of `number` that the procedure caught itself.
    void report(int number, const QString& description);

    // While held, failures are not reported at once but kept, in order, until
    // reportHeldFailures(); a procedure that works ahead keeps its reports in step order so.
    void holdReports(bool hold) { holding_ = hold; }
    void reportHeldFailures();

    const QString& location() const { return location_; }
    int reportCount() const { return reports_; }

  private:
    // Runs `body`; true when it succeeded, false after reporting its failure.
    bool attempt(int number, const std::function<void()>& body);

    QString location_;
    Reporter reporter_;
    int reports_ = 0;
    bool holding_ = false;
    std::vector<std::pair<int, QString>> held_;
};

}  // namespace errorreport
