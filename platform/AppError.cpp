#include "platform/AppError.h"

namespace platform {

QString standardErrorText(long number) {
    switch (number) {
        case ErrorNumber::InvalidProcedureCall:
            return QStringLiteral("Invalid procedure call or argument");
        case ErrorNumber::Overflow:
            return QStringLiteral("Overflow");
        case ErrorNumber::OutOfMemory:
            return QStringLiteral("Out of memory");
        case ErrorNumber::SubscriptOutOfRange:
            return QStringLiteral("Subscript out of range");
        case ErrorNumber::BadFileName:
            return QStringLiteral("Bad file name or number");
        case ErrorNumber::FileNotFound:
            return QStringLiteral("File not found");
        case ErrorNumber::PermissionDenied:
            return QStringLiteral("Permission denied");
        case ErrorNumber::PathFileAccess:
            return QStringLiteral("Path/File access error");
        case ErrorNumber::PathNotFound:
            return QStringLiteral("Path not found");
        case ErrorNumber::ObjectRequired:
            return QStringLiteral("Object required");
        case ErrorNumber::CantCreateObject:
            return QStringLiteral("ActiveX component can't create object");
        case ErrorNumber::AutomationError:
            return QStringLiteral("Automation error");
        case ErrorNumber::InvalidPicture:
            return QStringLiteral("Invalid picture");
        default:
            return QStringLiteral("Application-defined or object-defined error");
    }
}

AppError::AppError(long number, QString description)
    : number_(number), description_(std::move(description)), what_(description_.toStdString()) {}

AppError::AppError(long number) : AppError(number, standardErrorText(number)) {}

}  // namespace platform
