#include "platform/WordClient.h"

#include "platform/AppError.h"

namespace platform {

namespace {
// Placeholder until the host client lands: no engine can be started.
class NoEngineFactory : public WordFactory {
public:
    std::unique_ptr<WordApplication> createObject() override {
        throw AppError(ErrorNumber::CantCreateObject);
    }
    std::unique_ptr<WordApplication> getObject() override { throw AppError(ErrorNumber::CantCreateObject); }
};
}  // namespace

WordFactory& hostWordFactory() {
    static NoEngineFactory factory;
    return factory;
}

}  // namespace platform
