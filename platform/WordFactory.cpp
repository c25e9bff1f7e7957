#include "platform/WordApplication.h"
#include "platform/WordClient.h"

namespace platform {

namespace {
WordFactory* current = nullptr;
}

WordFactory& wordFactory() { return current != nullptr ? *current : hostWordFactory(); }
void setWordFactory(WordFactory* replacement) { current = replacement; }

}  // namespace platform
