// Helpers shared by the cipher tests.
#pragma once

#include <stdexcept>
#include <string>

// The message of the runtime error f throws, or "(no error)".
template <class F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no error)";
}
