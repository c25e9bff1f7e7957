#pragma once

#include <memory>

#include "wordclient/WordApplication.h"
#include "wordclient/WordHostProcess.h"

namespace wordclient {

constexpr int kDocumentsPerHost = 10;  // a long-lived engine would keep whatever it leaks

// What a Word object tells the factory that made it, so the next engine is ready in time.
class EngineKeeper {
  public:
    virtual ~EngineKeeper() = default;
    // The object quit; `cleanHost` is its host when every call went well, else null.
    virtual void quitted(std::unique_ptr<WordHostProcess> cleanHost) = 0;
};

// A Word object of our own, whose every call goes to `host` (started and greeted).
std::unique_ptr<WordApplication> newHostWordApplication(std::unique_ptr<WordHostProcess> host,
                                                        EngineKeeper& keeper);

}  // namespace wordclient
