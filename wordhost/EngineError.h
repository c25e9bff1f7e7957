#pragma once

#include <stdexcept>
#include <string>

#include "protocol/WordVocabulary.h"

namespace wordhost {

// A failure the host reports to its client as an automation error with this description.
class EngineError : public std::runtime_error {
  public:
    explicit EngineError(const std::string& description, int number = protocol::EngineErrorNumber::Automation)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

  private:
    int number_;
};

}  // namespace wordhost
