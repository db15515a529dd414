// Raised failures: an exception carrying a name and a message (reason).
// Misuse of the scanners and writers raises kGenericExceptionName.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace vw {

inline constexpr std::string_view kGenericExceptionName = "NSGenericException";

class Exception : public std::exception {
public:
    Exception(std::string_view name, std::string reason) : name_(name), reason_(std::move(reason)) {}
    // An exception named kGenericExceptionName.
    static Exception generic(std::string reason) { return Exception(kGenericExceptionName, std::move(reason)); }

    const std::string& name() const { return name_; }
    const std::string& reason() const { return reason_; }
    const char* what() const noexcept override { return reason_.c_str(); }

private:
    std::string name_;
    std::string reason_;
};

}  // namespace vw
