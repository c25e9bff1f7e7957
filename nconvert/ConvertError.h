#pragma once

#include <stdexcept>

namespace nconvert {

// Any failure of a conversion; the message is the one line the user sees.
class ConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace nconvert
