#include "errorreport/StepGuard.h"

#include <exception>
#include <new>

#include "errorreport/ErrorReport.h"
#include "platform/AppError.h"

namespace errorreport {

StepGuard::StepGuard(QString location) : StepGuard(std::move(location), ReportApplicationError) {}

StepGuard::StepGuard(QString location, Reporter reporter)
    : location_(std::move(location)), reporter_(std::move(reporter)) {}

void StepGuard::report(int number, const QString& description) {
    if (holding_) {
        held_.emplace_back(number, description);
        return;
    }
    ++reports_;
    reporter_(location_, number, description);
}

void StepGuard::reportHeldFailures() {
    std::vector<std::pair<int, QString>> held = std::move(held_);
    held_.clear();
    for (const auto& [number, description] : held) {
        ++reports_;
        reporter_(location_, number, description);
    }
}

bool StepGuard::attempt(int number, const std::function<void()>& body) {
    QString description;
    try {
        body();
        return true;
    } catch (const platform::AppError& error) {
        description = error.description();
    } catch (const std::bad_alloc&) {
        description = QStringLiteral("Out of memory");
    } catch (const std::exception& error) {
        description = QString::fromLocal8Bit(error.what());
    } catch (...) {
        description = platform::standardErrorText(0);
    }
    report(number, description);
    return false;
}

bool StepGuard::step(int number, const std::function<void()>& statement) {
    return attempt(number, statement);
}

bool StepGuard::test(int number, const std::function<bool()>& condition) {
    bool result = true;
    if (!attempt(number, [&] { result = condition(); })) return true;
    return result;
}

bool StepGuard::loopStart(int number, const std::function<bool()>& hasFirst) {
    bool result = true;
    if (!attempt(number, [&] { result = hasFirst(); })) return true;
    return result;
}

bool StepGuard::loopAdvance(int number, const std::function<bool()>& hasNext) {
    bool result = false;
    if (!attempt(number, [&] { result = hasNext(); })) return false;
    return result;
}

}  // namespace errorreport
