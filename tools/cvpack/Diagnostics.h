// Problems found in a project's texts, in the compilers' form
// "FILE:LINE: error: TEXT" (FILE relative to the project folder), gathered so
// that one run reports all of them: warnings go to the sink at once, errors
// are kept until the caller stops at ThrowIfErrors.
#pragma once

#include <functional>
#include <string>
#include <vector>

using WarningSink = std::function<void(const std::string&)>;

// Every problem as it is found, for a caller that keeps them itself.
using ProblemSink = std::function<void(const std::string& file, int line, bool error, const std::string& text)>;

class Diagnostics {
public:
    explicit Diagnostics(WarningSink warn = nullptr) : m_warn(std::move(warn)) {}
    explicit Diagnostics(ProblemSink problems) : m_problems(std::move(problems)) {}

    void Error(const std::string& file, int line, const std::string& text);
    void Warning(const std::string& file, int line, const std::string& text);
    bool HasErrors() const { return !m_errors.empty(); }

    // Throws std::runtime_error whose message is every error so far, one a
    // line; does nothing when there is none.
    void ThrowIfErrors() const;

private:
    WarningSink m_warn;
    ProblemSink m_problems;
    std::vector<std::string> m_errors;
};
