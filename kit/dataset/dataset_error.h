// The one error type the dataset raises; its message is the text the user sees.
#pragma once

#include <stdexcept>
#include <string>

namespace kit {

class DataSetError : public std::runtime_error {
public:
    explicit DataSetError(const std::string &message)
        : std::runtime_error(message)
    {}
};

}  // namespace kit
