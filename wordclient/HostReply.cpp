#include "wordclient/HostReply.h"

#include "platform/AppError.h"
#include "protocol/Replies.h"

namespace wordclient {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void throwIfError(const protocol::Message& reply) {
    if (reply.is(protocol::ErrorReply::kName)) {
        const protocol::ErrorReply error =
            protocol::ErrorReply::read(reply, platform::ErrorNumber::AutomationError);
        throw platform::AppError(static_cast<long>(error.number), fromUtf8(error.description));
    }
}

}  // namespace wordclient
