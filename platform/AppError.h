#pragma once

#include <QString>
#include <exception>
#include <string>

#include "protocol/WordVocabulary.h"

namespace platform {

// Run-time error numbers the program raises and reports.
namespace ErrorNumber {
constexpr long InvalidProcedureCall = 5;
constexpr long Overflow = 6;
constexpr long OutOfMemory = 7;
constexpr long SubscriptOutOfRange = 9;
constexpr long BadFileName = 52;
constexpr long FileNotFound = 53;
constexpr long PermissionDenied = 70;
constexpr long PathFileAccess = 75;
constexpr long PathNotFound = 76;
constexpr long CantCreateObject = protocol::EngineErrorNumber::CantCreate;  // 429
constexpr long ObjectRequired = 424;
constexpr long AutomationError = protocol::EngineErrorNumber::Automation;  // 440
constexpr long InvalidPicture = 481;
}  // namespace ErrorNumber

// The standard text of a run-time error number ("File not found" for 53, ...).
QString standardErrorText(long number);

// One failure: an error number and the description the user sees in the error report.
class AppError : public std::exception {
  public:
    AppError(long number, QString description);
    explicit AppError(long number);  // with the standard text of the number

    long number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

  private:
    long number_;
    QString description_;
    std::string what_;
};

}  // namespace platform
