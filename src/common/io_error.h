#pragma once

#include <stdexcept>
#include <string>

class QIODevice;

// The one exception type for input/output failures: a file that ends early,
// cannot be opened, or cannot be written. The program entry shows it in a
// general error box; the command-line tools print it.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The device's own account of its last failure, for an IoError's text; never
// empty.
std::string DeviceError(const QIODevice& device);
