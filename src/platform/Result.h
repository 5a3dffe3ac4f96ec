#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <variant>

namespace varrow {

// Why something did not happen: the sentence the user reads, and the reason as the system call or
// tool gave it, kept together from where it happened to the log line and the message.
struct Failure {
    QString message;  // "Couldn't add Work to your favourite applications."
    QString reason;   // "gsettings: No such schema “org.gnome.shell”"; may be empty

    // The message with its reason, as one sentence for the log and for details.
    QString text() const {
        return reason.isEmpty() ? message : message + QStringLiteral(" (") + reason + u')';
    }
    // The same failure told at a higher level: the new message, with the reason from the root
    // (this one's message where it had none).
    Failure within(const QString& outer) const { return {outer, reason.isEmpty() ? message : reason}; }
};

// A value, or the failure that kept it from being made.
template <typename T = void>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}            // NOLINT(google-explicit-constructor)
    Result(Failure failure) : state_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(state_); }
    T& value() { return std::get<T>(state_); }
    const Failure& failure() const { return std::get<Failure>(state_); }

private:
    std::variant<T, Failure> state_;
};

// Done, or the failure.
template <>
class Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return *failure_; }

private:
    std::optional<Failure> failure_;
};

}  // namespace varrow
