#pragma once

#include <stdexcept>
#include <string>

namespace veltrane {

// A failure as the serial component or the runtime reports it: a number the
// handlers can test and a description a person can act on. Handlers trap it
// where the product's rules say; it never escapes into the event loop.
class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const noexcept { return number_; }

private:
    int number_;
};

// The one failure number the port opening tests: the selected port does not exist.
inline constexpr int kPortDoesNotExist = 8002;
// Failures without a number of their own (a runtime error, memory exhausted).
inline constexpr int kRuntimeFailure = 1;

}  // namespace veltrane
