// Scratch files and folders for the Windows tests, removed when the test ends.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::string(temp) + "cvtest_" + info->test_suite_name() + "_" + info->name() + "\\";
        RemoveTree(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    const std::string& Path() const { return path_; }

    std::string Write(const std::string& name, const std::string& content) const {
        std::string full = path_ + name;
        std::ofstream(full, std::ios::binary) << content;
        return full;
    }

    static std::string Read(const std::string& full) {
        std::ifstream in(full, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static bool Exists(const std::string& full) {
        return GetFileAttributesA(full.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((dir + "*").c_str(), &f);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string n = f.cFileName;
                if (n == "." || n == "..") continue;
                std::string full = dir + n;
                if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full + "\\");
                } else {
                    SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(h, &f));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string path_;
};

// The folder of the test program, where the test data files lie (trailing backslash).
inline std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string s(path);
    return s.substr(0, s.rfind('\\') + 1);
}
