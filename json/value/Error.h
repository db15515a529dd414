// Errors reported beside a failed result: a domain, a signed code and, when
// there is one, a message (the platform's localized description).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vw {

struct Error {
    std::string domain;
    int64_t code = 0;
    std::optional<std::string> localizedDescription;

    static Error errorWithDomain(std::string domain, int64_t code, std::optional<std::string> message = std::nullopt) {
        return Error{std::move(domain), code, std::move(message)};
    }
    friend bool operator==(const Error&, const Error&) = default;
};

}  // namespace vw
