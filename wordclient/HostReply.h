#pragma once

#include <QString>
#include <string>

#include "protocol/Message.h"

namespace wordclient {

QString fromUtf8(const std::string& text);

// An "error" reply of the host becomes the AppError it carries.
void throwIfError(const protocol::Message& reply);

}  // namespace wordclient
