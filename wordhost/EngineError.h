#pragma once

#include <stdexcept>
#include <string>

namespace wordhost {

// Error numbers the host answers with (the client raises them as automation errors).
namespace EngineErrorNumber {
constexpr int Automation = 440;     // the general automation error
constexpr int CantCreate = 429;     // the engine cannot be started
constexpr int NotSupported = 438;   // "Object doesn't support this property or method"
constexpr int NoSuchMember = 5941;  // Word: "The requested member of the collection does not exist."
constexpr int NoDocument = 4248;    // Word: no document is open
}  // namespace EngineErrorNumber

// A failure the host reports to its client as an automation error with this description.
class EngineError : public std::runtime_error {
  public:
    explicit EngineError(const std::string& description, int number = EngineErrorNumber::Automation)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

  private:
    int number_;
};

}  // namespace wordhost
