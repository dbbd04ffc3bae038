#include "StagingFolder.h"

#include <cstdio>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string RandomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    char text[9];
    std::snprintf(text, sizeof(text), "%08x", static_cast<unsigned>(generator()));
    return text;
}

[[noreturn]] void Fail(const fs::path& path, const std::string& what, const std::error_code& ec) {
    throw std::runtime_error(path.string() + ": " + what + ": " + ec.message());
}

}  // namespace

fs::path UnusedSibling(const fs::path& target, const char* tag) {
    for (;;) {
        fs::path candidate = target.string() + tag + RandomSuffix();
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec) return candidate;
    }
}

StagingFolder::StagingFolder(const fs::path& target) : m_target(target) {
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec) Fail(target.parent_path(), "cannot create the folder", ec);
    m_path = UnusedSibling(target, ".tmp-");
    if (!fs::create_directory(m_path, ec)) Fail(m_path, "cannot create the folder", ec);
}

StagingFolder::~StagingFolder() {
    std::error_code ec;
    if (!m_committed) fs::remove_all(m_path, ec);
}

void StagingFolder::Commit() {
    std::error_code ec;
    fs::path previous;
    if (fs::exists(m_target, ec)) {
        previous = UnusedSibling(m_target, ".old-");
        fs::rename(m_target, previous, ec);
        if (ec) Fail(m_target, "cannot move the previous output aside", ec);
    }
    fs::rename(m_path, m_target, ec);
    if (ec) {
        std::error_code ignored;
        if (!previous.empty()) fs::rename(previous, m_target, ignored);
        Fail(m_target, "cannot put the new output in place", ec);
    }
    m_committed = true;
    // A previous output that cannot be deleted only costs disk space.
    if (!previous.empty()) fs::remove_all(previous, ec);
}
