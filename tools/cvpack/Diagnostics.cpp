#include "Diagnostics.h"

#include <stdexcept>

namespace {

std::string Located(const std::string& file, int line, const char* kind, const std::string& text) {
    return file + ":" + std::to_string(line) + ": " + kind + ": " + text;
}

}  // namespace

void Diagnostics::Error(const std::string& file, int line, const std::string& text) {
    if (m_problems) m_problems(file, line, true, text);
    m_errors.push_back(Located(file, line, "error", text));
}

void Diagnostics::Warning(const std::string& file, int line, const std::string& text) {
    if (m_problems) m_problems(file, line, false, text);
    if (m_warn) m_warn(Located(file, line, "warning", text));
}

void Diagnostics::ThrowIfErrors() const {
    if (m_errors.empty()) return;
    std::string message;
    for (const std::string& error : m_errors) message += (message.empty() ? "" : "\n") + error;
    throw std::runtime_error(message);
}
