#pragma once
#include <string>
#include <utility>

// The core's one error convention. An operation that can only succeed or
// fail returns bool, true when it did what it says. One whose failure
// carries a text for a person (a language file's error message, why a save
// failed) returns an Outcome. One whose callers act on which failure it was
// returns a result enum (FileReadResult). One that makes a value or fails,
// or finds one or none, gives the value through an out-parameter beside its
// bool or Outcome, and a failure leaves that out-parameter as it was.
// Platform-facing seams keep the platform's integer results (0 success,
// negative failure; result_codes.h), tested where a caller relies on them.
// Nothing returns an optional whose presence means failure.
class [[nodiscard]] Outcome {
public:
    Outcome() = default;  // success
    static Outcome failure(std::string message) {
        Outcome o;
        o.ok_ = false;
        o.message_ = std::move(message);
        return o;
    }

    bool ok() const { return ok_; }
    // Why it failed; empty on success.
    const std::string& message() const { return message_; }

private:
    bool ok_ = true;
    std::string message_;
};
