// The context the Windows tests run one install action in, in-process on the
// real file system: the setup run from <scratch>, settings in <scratch>setup.inf, the file list in
// <scratch>data.inf, payload in the working folder <scratch>payload\ (or in
// <scratch>DiskImage1\ after UseDiskImage), <InstallDir> <scratch>app\ and
// <WindowsFolder> <scratch>win. The test scripts the answers and cancel
// requests and reads back what the action logged, showed and asked; anything
// else (shell folders, features, preview...) it sets through MutableSetup().
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/FileList.h"
#include "install/InstallContext.h"

#include "TestFiles.h"

class ScriptedContext : public install::InstallContext {
public:
    explicit ScriptedContext(const ScratchFolder& dir) : dir_(dir) {
        CreateDirectoryA((dir.Path() + "payload").c_str(), nullptr);
        CreateDirectoryA((dir.Path() + "app").c_str(), nullptr);
        setup_.values.installDir = dir.Path() + "app\\";
        setup_.values.windowsFolder = dir.Path() + "win";
        setup_.values.productCode = "{TEST}";
        setup_.currentInstallFolder = setup_.defaultInstallFolder = setup_.values.installDir;
        setup_.workingFolder = dir.Path() + "payload\\";
        setup_.sourceFolder = dir.Path();
        setup_.settingsPath = dir.Path() + "setup.inf";
        setup_.dataPath = dir.Path() + "data.inf";
    }

    // Payload files lie in a disk image from now on: they are copied.
    void UseDiskImage() {
        setup_.diskImage = true;
        payloadFolder_ = "DiskImage1\\";
        CreateDirectoryA((dir_.Path() + payloadFolder_).c_str(), nullptr);
    }

    // Adds a record whose payload file holds `content` ("" for none).
    void AddFile(const std::string& name, const std::string& content, int32_t flags = 0,
                 const std::string& destDir = "<InstallDir>") {
        core::filelist::FileRecord r;
        r.fileName = name;
        r.sourceLine = "C:\\project\\" + name;
        r.destDir = destDir;
        r.flags = flags;
        if (!content.empty()) dir_.Write(payloadFolder_ + StoredName(name), content);
        records_.push_back(r);
    }
    std::string StoredName(const std::string& name) const {
        return core::filelist::StoredName(records_.size(), name);
    }
    std::string Installed(const std::string& name) const { return setup_.values.installDir + name; }
    std::vector<std::string> QuestionTexts() const {
        std::vector<std::string> texts;
        for (const install::Question& q : questions) texts.push_back(q.text);
        return texts;
    }

    install::EngineSetup& MutableSetup() { return setup_; }
    const install::EngineSetup& Setup() const override { return setup_; }
    std::string Expand(const std::string& text) const override {
        return core::ExpandEngineText(text, setup_.values, setup_.currentInstallFolder,
                                      setup_.defaultInstallFolder);
    }
    void Log(core::LogKind kind, const std::string& value) override {
        log.push_back(std::string(core::KeyOf(kind)) + "=" + value);
        logRecords.push_back(core::MakeLogRecord(kind, value));
    }
    const std::vector<core::LogRecord>& Logged() const override { return logRecords; }
    bool EarlierRunOwned(core::LogKind kind, const std::string& value) const override {
        return kind == core::LogKind::File &&
               std::find(earlierFiles.begin(), earlierFiles.end(), value) != earlierFiles.end();
    }
    std::string PayloadFilePath(size_t index, const std::string& fileName) const override {
        return dir_.Path() + payloadFolder_ + core::filelist::StoredName(index, fileName);
    }
    std::vector<core::filelist::FileRecord>& FileRecords() override { return records_; }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetProgressRange(int) override {}
    void SetProgressPosition(int position) override {
        if (cancelAtPosition >= 0 && position >= cancelAtPosition) cancel = true;
    }
    bool CancelRequested() const override { return cancel; }
    void Abandon() override { abandoned = true; }
    void MarkAbandoned() override { markedAbandoned = true; }
    install::ErrorChoice Ask(const install::Question& question) override {
        questions.push_back(question);
        if (beforeAnswer) beforeAnswer(questions.size() - 1);
        return answers.size() < questions.size() ? install::ErrorChoice::Cancel
                                                 : answers[questions.size() - 1];
    }
    void ReportError(int, const std::string& message) override { errors.push_back(message); }

    std::vector<std::string> log, statuses, errors;  // log: "KEY=value"
    std::vector<core::LogRecord> logRecords;         // the same log as records
    std::vector<std::string> earlierFiles;           // FILE lines of the earlier run's log
    std::vector<install::Question> questions;
    std::vector<install::ErrorChoice> answers;  // Cancel beyond them
    std::function<void(size_t question)> beforeAnswer;  // called with each question's number
    int cancelAtPosition = -1;
    bool cancel = false;
    bool abandoned = false;
    bool markedAbandoned = false;

private:
    const ScratchFolder& dir_;
    std::string payloadFolder_ = "payload\\";
    install::EngineSetup setup_;
    std::vector<core::filelist::FileRecord> records_;
};
