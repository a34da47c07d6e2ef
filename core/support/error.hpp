#pragma once
// The failure value of every core operation. Only `message` reaches Python; `causes` keeps the
// lower-level errors an operation arose from, for C++ callers and tests.
#include <expected>
#include <string>
#include <utility>
#include <vector>

namespace qm {

struct CoreError {
    std::string message;
    std::vector<CoreError> causes;

    CoreError() = default;
    explicit CoreError(std::string msg) : message(std::move(msg)) {}
    CoreError(std::string msg, std::vector<CoreError> from)
        : message(std::move(msg)), causes(std::move(from)) {}
};

template <class T>
using Result = std::expected<T, CoreError>;
using Status = Result<void>;

inline std::unexpected<CoreError> fail(std::string message) {
    return std::unexpected(CoreError(std::move(message)));
}

inline std::unexpected<CoreError> fail(CoreError error) {
    return std::unexpected(std::move(error));
}

}  // namespace qm
