// Raised by a setter that rejects a value (a real beyond what its field can
// hold). The game-file reader ends the element's record there; a script
// assignment stores nothing.
#pragma once

#include <stdexcept>

namespace kw {

class EPropertyValue : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kw
