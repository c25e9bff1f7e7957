#include "platform/HostReply.h"

#include "platform/AppError.h"

namespace platform {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void throwIfError(const wordhost::Message& reply) {
    if (reply.is("error")) {
        throw AppError(static_cast<long>(reply.getInt("number", ErrorNumber::AutomationError)),
                       fromUtf8(reply.get("description")));
    }
}

}  // namespace platform
