#include "ProjectBuilder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <vector>

#include "CabinetWriter.h"
#include "ContainerTool.h"
#include "EngineStamp.h"
#include "FolderEntries.h"
#include "PayloadPath.h"
#include "ProjectDataList.h"
#include "StagingFolder.h"
#include "cabinet/CabinetNames.h"
#include "control/SplashRules.h"
#include "core/CodePage.h"
#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"
#include "core/FileList.h"
#include "core/WorkingFolder.h"
#include "crypt/Sha.h"
#include "skin/MemoryIniSource.h"
#include "util/Text.h"

namespace fs = std::filesystem;

namespace {

// Everything a build takes from the project folder, gathered and checked
// before anything is written.
struct Project {
    fs::path dir;
    unsigned codePage = core::codepage::kWesternEuropean;
    SourceText setupInf;
    SourceText dataInf;
    // The language files (languages/*.lan, language.lan): path in the project
    // folder and text.
    std::vector<std::pair<std::string, SourceText>> languageFiles;
    std::vector<ProjectDataRecord> records;
    std::vector<CabinetEntry> cabinet;
    // Files that ship beside setup.exe: source path and name there.
    std::vector<std::pair<fs::path, std::string>> besideEngine;
    bool perUser = false;  // APPINFO a8 "Per-User": installs for the current user only
    ProductIdentity identity;  // what the shipped setup.exe says about itself
    BuildSummary summary;
};

constexpr unsigned kUtf8CodePage = 65001;

[[noreturn]] void Fail(const std::string& message) { throw std::runtime_error(message); }

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// True when the optional folder is there; something else under its name is an error.
bool OptionalFolder(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return false;
    if (!IsFolder(path)) Fail(path.string() + ": not a folder");
    return true;
}

bool OptionalFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return false;
    if (!IsFile(path)) Fail(path.string() + ": not a file");
    return true;
}

// Absolute, with "." and ".." resolved and no trailing separator.
fs::path Normalized(const std::string& path) {
    fs::path normal = fs::absolute(path).lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

// ASCII letters lowered; the bytes of a double-byte character are kept, for
// it is another character than one whose second byte differs in case.
std::string LowerCase(std::string text, unsigned codePage) {
    for (size_t pos = 0, length = 0; pos < text.size(); pos += length) {
        length = core::codepage::CharacterLength(text, pos, codePage);
        if (length == 1)
            text[pos] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[pos])));
    }
    return text;
}

// Payload files travel as "F<k>_<name>", k counting every record, web items too.
void GatherPayload(Project& project) {
    for (size_t k = 0; k < project.records.size(); ++k) {
        const ProjectDataRecord& record = project.records[k];
        if (record.IsWebItem()) {
            ++project.summary.webItems;
            continue;
        }
        fs::path source = PayloadPath(project.dir, record.diskLine, project.dataInf.utf8, project.codePage);
        if (!IsFile(source))
            Fail("data.inf:" + std::to_string(record.lineNumber) +
                 ": payload file not found: " + source.string());
        project.cabinet.push_back(
            {CabinetSourceText(source), core::filelist::StoredName(k, record.fields.fileName)});
        ++project.summary.payloadFiles;
    }
}

// The setup extracts the cabinet by bare names, so working/ must be flat.
void GatherWorkingFiles(Project& project) {
    fs::path folder = project.dir / "working";
    if (!OptionalFolder(folder)) return;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            Fail(entry.path().string() + ": only files belong in working/ (the cabinet is flat)");
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        project.cabinet.push_back({CabinetSourceText(file), file.filename().string()});
    project.summary.workingFiles = files.size();
}

// The setup extracts every stored name under its bare name and refuses one
// that is no safe file name. Names that differ only in case would overwrite
// each other when extracted on Windows, and the setup extracts payload files
// into sub-folders of its own.
void CheckStoredNames(const std::vector<CabinetEntry>& cabinet, unsigned codePage) {
    std::map<std::string, const CabinetEntry*> seen;
    for (const CabinetEntry& entry : cabinet) {
        if (cabinet::OutputName(entry.storedName, codePage) != entry.storedName)
            Fail(entry.sourcePath + ": stored name \"" + entry.storedName +
                 "\" is no file name the setup can extract (code page " +
                 std::to_string(codePage) + ")");
        if (core::IsPayloadGroupName(entry.storedName))
            Fail(entry.sourcePath + ": stored name \"" + entry.storedName +
                 "\" is reserved for the folders the setup extracts payload files into");
        auto placed = seen.emplace(LowerCase(entry.storedName, codePage), &entry);
        if (!placed.second)
            Fail(entry.sourcePath + ": stored name \"" + entry.storedName +
                 "\" clashes with that of " + placed.first->second->sourcePath);
    }
}

// The splash picture and sound the settings name ship beside setup.exe as
// "setup" plus their extension, where the setup looks for them. A name is a
// path in the project folder, like a payload file's.
void GatherSplashFiles(Project& project) {
    namespace k = core::keys::splash;
    const skin::MemoryIniSource ini(project.setupInf.written);
    const bool utf8 = project.setupInf.utf8;
    const struct {
        const char* flag;
        const char* name;
        const char* what;
    } parts[] = {{k::kShowPicture, k::kPicture, "picture"}, {k::kPlaySound, k::kSound, "sound"}};
    for (const auto& part : parts) {
        if (ini.Read(k::kSection, part.flag, core::settings::kValueSize) != "Yes") continue;
        const std::string name = ini.Read(k::kSection, part.name, core::settings::kValueSize);
        const fs::path source = PayloadPath(project.dir, name, utf8, project.codePage);
        if (name.empty() || !IsFile(source))
            Fail("setup.inf: splash " + std::string(part.what) + " not found: " + source.string());
        project.besideEngine.emplace_back(source,
                                          control::splash::SplashFilePath("", name, utf8 ? kUtf8CodePage : project.codePage));
    }
}

// Whether the project installs for the current user only.
bool InstallsPerUser(const std::string& settings) {
    namespace app = core::keys::appinfo;
    const skin::MemoryIniSource ini(settings);
    return ini.Read(app::kSection, app::kInstallScope, core::settings::kValueSize) == "Per-User";
}

// The program to ship for the project's scope. The engine and the uninstaller
// are built twice, differing only in the elevation their manifest asks for:
// "setup.exe" starts elevated (a per-machine installation), the variant
// "setup-peruser.exe" beside it runs with the user's own rights. A per-user
// project ships the variant under the ordinary name.
std::string ScopedProgram(const std::string& path, bool perUser) {
    if (!perUser || path.empty()) return path;
    const fs::path p(path);
    const fs::path variant = p.parent_path() / (p.stem().string() + "-peruser" + p.extension().string());
    if (!IsFile(variant))
        Fail(variant.string() + ": missing (a per-user project ships the variant that asks for no elevation)");
    return variant.string();
}

const char kUninstallerName[] = "cvexec.exe";

// Every packed product carries its uninstaller in the cabinet's root, where
// the setup takes it from. A project that ships its own keeps it.
void AddUninstaller(Project& project, const std::string& uninstallerPath) {
    for (const CabinetEntry& entry : project.cabinet)
        if (LowerCase(entry.storedName, project.codePage) == kUninstallerName) {
            project.summary.shipsUninstaller = true;
            return;
        }
    if (uninstallerPath.empty()) return;
    if (!IsFile(uninstallerPath)) Fail(uninstallerPath + ": uninstaller missing");
    const fs::path program = ScopedProgram(uninstallerPath, project.perUser);
    project.cabinet.push_back({CabinetSourceText(program), kUninstallerName});
    project.summary.shipsUninstaller = true;
}

// The language files the setup reads: every .lan file of languages/ (one in
// Unicode ships as it is: the pages show it with the wide calls) and the
// message file language.lan (read in the code page, so converted).
void ReadLanguageFiles(Project& project, SourceConverter& converter, SourceEncoding mode) {
    std::vector<std::string> names;
    if (OptionalFolder(project.dir / "languages"))
        for (const fs::directory_entry& entry : fs::directory_iterator(project.dir / "languages")) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && util::text::AsciiLower(extension) == ".lan")
                names.push_back("languages/" + entry.path().filename().string());
        }
    std::sort(names.begin(), names.end());
    if (OptionalFile(project.dir / "language.lan")) names.push_back("language.lan");
    for (const std::string& name : names)
        project.languageFiles.emplace_back(name, name == "language.lan" ? converter.Read(project.dir / name, name, mode)
                                                                   : converter.ReadLanguageFile(project.dir / name, name, mode));
}

void ReadTexts(Project& project, const BuildOptions& options, Diagnostics& diagnostics,
               SourceConverter& converter) {
    const SourceEncoding mode = options.sourceEncoding;
    project.setupInf = converter.Read(project.dir / "setup.inf", "setup.inf", mode);
    project.dataInf = converter.Read(project.dir / "data.inf", "data.inf", mode);
    ReadLanguageFiles(project, converter, mode);
    diagnostics.ThrowIfErrors();
}

void ReadDataList(Project& project, Diagnostics& diagnostics, SourceConverter& converter) {
    project.records = ReadProjectRecords(project.dataInf, project.dir, converter, diagnostics);
    diagnostics.ThrowIfErrors();
    AssignRecordNumbers(project.records);
}

Project ReadProject(const std::string& projectDir, const BuildOptions& options) {
    const unsigned codePage = options.codePage;
    Project project;
    project.dir = Normalized(projectDir);
    project.codePage = options.codePage;
    if (!IsFolder(project.dir)) Fail(projectDir + ": not a project folder");
    for (const char* name : {"setup.inf", "data.inf"})
        if (!IsFile(project.dir / name)) Fail((project.dir / name).string() + ": missing");
    if (!IsFolder(project.dir / "theme")) Fail((project.dir / "theme").string() + ": missing folder");
    Diagnostics diagnostics(options.warn);
    SourceConverter converter(options.codePage, diagnostics);
    ReadTexts(project, options, diagnostics, converter);
    project.perUser = InstallsPerUser(project.setupInf.written);
    if (!options.enginePath.empty())
        project.identity = ReadProductIdentity(project.setupInf, project.dir, project.codePage);
    ReadDataList(project, diagnostics, converter);
    GatherPayload(project);
    GatherWorkingFiles(project);
    GatherSplashFiles(project);
    AddUninstaller(project, options.uninstallerPath);
    if (options.requireUninstaller && !project.summary.shipsUninstaller)
        Fail("cvpack: error: no cvexec.exe found (use --uninstaller, or --no-uninstaller to ship a "
             "product that cannot be removed)");
    CheckStoredNames(project.cabinet, codePage);
    CheckCabinetEntries(project.cabinet);
    return project;
}

bool IsWithin(const fs::path& inner, const fs::path& outer) {
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first ==
           outer.end();
}

// Committing the build replaces the output folder, so it must neither hold
// the project nor lie inside a folder that the build copies.
void CheckOutputFolder(const Project& project, const fs::path& out) {
    std::error_code ec;
    if (fs::exists(out, ec) && !IsFolder(out)) Fail(out.string() + ": exists and is not a folder");
    fs::path realOut = fs::weakly_canonical(out);
    fs::path realProject = fs::weakly_canonical(project.dir);
    if (IsWithin(realProject, realOut))
        Fail(out.string() + ": the output folder would replace the project folder");
    for (const char* part : {"theme", "languages", "working"})
        if (IsWithin(realOut, realProject / part))
            Fail(out.string() + ": the output folder lies inside the project's " + part + " folder");
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) Fail(path.string() + ": cannot write");
}

void EncryptText(const std::string& text, const fs::path& container) {
    fs::path plain = container;
    plain.replace_extension(".plain");
    WriteText(plain, text);
    EncryptProjectFile(plain.string(), container.string());
    fs::remove(plain);
}

// The setup splits data.inf at each CR and drops the text after the last one,
// so the list is rewritten with every line, the last too, ended by CR LF.
void WriteContainers(const Project& project, const fs::path& out) {
    EncryptText(project.setupInf.shipped, out / "setup.nsx");
    EncryptText(FormatProjectDataList(project.records), out / "data.nsx");
}

void CopyFolder(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy(from, to, fs::copy_options::recursive, ec);
    if (ec) Fail(from.string() + ": cannot copy: " + ec.message());
}

void CopyOneFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, ec);
    if (ec) Fail(from.string() + ": cannot copy: " + ec.message());
}

// A theme author's notes ("README", "readme.txt", "ReadMe.md"...) are no
// part of the pages, and the setup copies the theme into the uninstall
// folder: they would end on every user's machine.
bool IsThemeDocumentation(const fs::path& file) {
    const std::string name = file.filename().string();
    if (name.size() < 6) return false;
    for (size_t i = 0; i < 6; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != "readme"[i]) return false;
    return true;
}

// The theme with its sub-folders, without its documentation.
void CopyTheme(const fs::path& from, const fs::path& to) {
    CopyFolder(from, to);
    std::vector<fs::path> notes;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(to))
        if (entry.is_regular_file() && IsThemeDocumentation(entry.path())) notes.push_back(entry.path());
    for (const fs::path& note : notes) fs::remove(note);
}

void CopyLooks(const Project& project, const fs::path& out) {
    CopyTheme(project.dir / "theme", out / "theme");
    if (OptionalFolder(project.dir / "languages"))
        CopyFolder(project.dir / "languages", out / "languages");
    // In the target code page: converted from UTF-8 where they were written so.
    for (const auto& file : project.languageFiles) WriteText(out / file.first, file.second.shipped);
    // What the setup runs after the installation: the add-on programs of
    // SupportFiles/ and the merge-module package, taken from beside setup.exe.
    if (OptionalFolder(project.dir / "SupportFiles"))
        CopyFolder(project.dir / "SupportFiles", out / "SupportFiles");
    if (OptionalFile(project.dir / "mergemod.msi"))
        CopyOneFile(project.dir / "mergemod.msi", out / "mergemod.msi");
    for (const auto& file : project.besideEngine) CopyOneFile(file.first, out / file.second);
}

// The SHA-256 of the cabinet, 64 lower-case hex digits in a file beside it:
// the setup keeps it with its cached copy, so that a repair later takes the
// cabinet from the installation source only while it is the one installed.
void WriteCabinetDigest(const fs::path& cabinet, const fs::path& digestFile) {
    std::ifstream in(cabinet, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + cabinet.string());
    CSHA sha;
    std::vector<char> buffer(1 << 16);
    bool any = false;
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        sha.AddData(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<int>(in.gcount()));
        any = true;
    }
    if (!any) throw std::runtime_error("empty cabinet " + cabinet.string());
    unsigned char digest[CSHA::DIGEST_SIZE];
    sha.FinalDigest(digest);
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    std::ofstream out(digestFile, std::ios::binary);
    if (!(out << text)) throw std::runtime_error("cannot write " + digestFile.string());
}

}  // namespace

BuildSummary BuildProject(const std::string& projectDir, const std::string& outDir,
                          const BuildOptions& options) {
    Project project = ReadProject(projectDir, options);
    fs::path target = Normalized(outDir);
    CheckOutputFolder(project, target);

    StagingFolder staging(target);
    WriteContainers(project, staging.Path());
    WriteCabinet((staging.Path() / "file1.cab").string(), project.cabinet);
    WriteCabinetDigest(staging.Path() / "file1.cab", staging.Path() / "file1.cab.sha256");
    CopyLooks(project, staging.Path());
    if (!options.enginePath.empty()) {
        CopyOneFile(ScopedProgram(options.enginePath, project.perUser), staging.Path() / "setup.exe");
        StampEngine((staging.Path() / "setup.exe").string(), project.identity);
    }
    staging.Commit();
    return project.summary;
}
