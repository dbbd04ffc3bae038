// cvpack: the authoring tool. Parses the command line and hands over to cvpacklib.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "core/SystemLibraries.h"
#endif

#include "CodeSigning.h"
#include "ContainerTool.h"
#include "EngineLocator.h"
#include "PackageListing.h"
#include "ProjectBuilder.h"
#include "ProjectCheck.h"
#include "ReferenceGuide.h"
#include "SingleFile.h"
#include "core/SettingsReference.h"

namespace {

const char kUsage[] =
    "usage: cvpack encrypt IN OUT\n"
    "       cvpack decrypt IN OUT\n"
    "       cvpack check [--code-page N] [--source-encoding ansi|utf-8] PROJECT_DIR\n"
    "       cvpack build [--engine SETUP_EXE] [--uninstaller CVEXEC_EXE | --no-uninstaller]\n"
    "                    [--code-page N] [--source-encoding ansi|utf-8] [--skip-check]\n"
    "                    [--single-file OUT_EXE] [SIGNING] PROJECT_DIR OUT_DIR\n"
    "       cvpack sign SIGNING FILE...\n"
    "       cvpack list [--code-page N] PACKAGE_DIR\n"
    "       cvpack reference [--update GUIDE_MD]\n"
    "       cvpack --version\n"
    "\n"
    "encrypt, decrypt  turn a plain project file into its container and back\n"
    "check             report the project's mistakes (exit code 1 on an error)\n"
    "build             check, then make a ready-to-ship folder from a project folder\n"
    "  --engine PATH   setup.exe to ship (default: $CVPACK_ENGINE, else the\n"
    "                  engine of the Windows build tree beside cvpack's)\n"
    "  --uninstaller PATH  cvexec.exe to put into the cabinet (default: the one\n"
    "                  beside the engine); without one the build fails\n"
    "  --no-uninstaller  build without one: the product cannot be removed\n"
    "  --code-page N   ANSI code page the setup reads the project's texts in,\n"
    "                  e.g. 932 (default: the system's on Windows, else 1252)\n"
    "  --source-encoding ansi|utf-8  how setup.inf, data.inf and the language\n"
    "                  files are written: ansi (default) in that code page, unless\n"
    "                  a file starts with a UTF-8 BOM; utf-8 all of them, converted\n"
    "  --skip-check    build a project whatever its mistakes (to see how the\n"
    "                  setup meets them)\n"
    "  --single-file OUT_EXE  also write one executable holding the engine and\n"
    "                  the whole built folder (needs an engine)\n"
    "  SIGNING         sign setup.exe and the uninstaller in the cabinet\n"
    "sign              sign Windows programs (Authenticode, SHA-256, by osslsigncode)\n"
    "  SIGNING: --sign-cert CERT --sign-key KEY [--sign-pass-file FILE] [--timestamp URL]\n"
    "  --sign-cert CERT  the code-signing certificate (and its chain), PEM or DER\n"
    "  --sign-key KEY  its private key\n"
    "  --sign-pass-file FILE  the file holding the key's passphrase\n"
    "  --timestamp URL  an RFC 3161 time-stamping server\n"
    "list              show what a built folder installs: product, pages,\n"
    "                  systems, and every file with its destination and size\n"
    "reference         print every setup.inf section and key as Markdown, or\n"
    "                  write it into the guide between its marker lines\n"
    "--version         print cvpack's version\n";

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "cvpack: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

// The code page a project is taken to be written in when none is named: the
// one the system's own texts use, where there is such a thing.
unsigned DefaultCodePage() {
#ifdef _WIN32
    return GetACP();
#else
    return core::codepage::kWesternEuropean;
#endif
}

struct CommandArguments {
    std::string engine;
    std::string uninstaller;
    std::string codePage;  // as written; empty: the default
    bool noUninstaller = false;
    bool skipCheck = false;
    std::string sourceEncoding;  // as written; empty: the default
    SigningOptions signing;
    std::string singleFile;      // build: the single file to write; empty: none
    std::vector<std::string> positional;

    bool AnySigning() const {
        return signing.Requested() || !signing.passFile.empty() || !signing.timestampUrl.empty();
    }
};

// "--NAME VALUE" or "--NAME=VALUE" at args[i]: sets `value` (and moves i past
// the value) and returns true.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value) {
    const std::string& arg = args[i];
    if (arg == name && i + 1 < args.size()) {
        value = args[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool TakeSigningOption(const std::vector<std::string>& args, size_t& i, SigningOptions& signing) {
    return TakeValue(args, i, "--sign-cert", signing.certificate) || TakeValue(args, i, "--sign-key", signing.key) ||
           TakeValue(args, i, "--sign-pass-file", signing.passFile) ||
           TakeValue(args, i, "--timestamp", signing.timestampUrl);
}

// A code page number: 1 to 65535 in decimal digits.
bool ParseCodePage(const std::string& text, unsigned& codePage) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    codePage = static_cast<unsigned>(std::stoul(text));
    return codePage >= 1 && codePage <= 65535;
}

// Accepts "--engine PATH", "--uninstaller PATH", "--no-uninstaller", "--code-page N",
// "--source-encoding NAME", "--skip-check", "--single-file PATH", the signing
// options and the "--option=VALUE" forms anywhere; returns false on a bad
// option. Checks no count of positional arguments: that is the command's.
bool ParseOptions(const std::vector<std::string>& args, CommandArguments& parsed, std::string& problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--engine" && i + 1 < args.size()) {
            parsed.engine = args[++i];
        } else if (arg.rfind("--engine=", 0) == 0) {
            parsed.engine = arg.substr(9);
        } else if (arg == "--uninstaller" && i + 1 < args.size()) {
            parsed.uninstaller = args[++i];
        } else if (arg.rfind("--uninstaller=", 0) == 0) {
            parsed.uninstaller = arg.substr(14);
        } else if (arg == "--no-uninstaller") {
            parsed.noUninstaller = true;
        } else if (arg == "--code-page" && i + 1 < args.size()) {
            parsed.codePage = args[++i];
        } else if (arg.rfind("--code-page=", 0) == 0) {
            parsed.codePage = arg.substr(12);
        } else if (arg == "--source-encoding" && i + 1 < args.size()) {
            parsed.sourceEncoding = args[++i];
        } else if (arg.rfind("--source-encoding=", 0) == 0) {
            parsed.sourceEncoding = arg.substr(18);
        } else if (arg == "--single-file" && i + 1 < args.size()) {
            parsed.singleFile = args[++i];
        } else if (arg.rfind("--single-file=", 0) == 0) {
            parsed.singleFile = arg.substr(14);
        } else if (arg == "--skip-check") {
            parsed.skipCheck = true;
        } else if (TakeSigningOption(args, i, parsed.signing)) {
        } else if (arg == "--sign-pass" || arg.rfind("--sign-pass=", 0) == 0) {
            // Other users of the machine can read a process's arguments.
            problem = "a passphrase is never taken on the command line: use --sign-pass-file FILE";
            return false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            problem = "bad option " + arg;
            return false;
        } else {
            parsed.positional.push_back(arg);
        }
    }
    return true;
}

bool ParseBuildArguments(const std::vector<std::string>& args, CommandArguments& parsed,
                         std::string& problem) {
    if (!ParseOptions(args, parsed, problem)) return false;
    if (!parsed.uninstaller.empty() && parsed.noUninstaller) {
        problem = "--uninstaller and --no-uninstaller exclude each other";
        return false;
    }
    if (parsed.AnySigning() && !(problem = SigningOptionsProblem(parsed.signing)).empty()) return false;
    if (parsed.positional.size() != 2) {
        problem = "build needs PROJECT_DIR and OUT_DIR";
        return false;
    }
    if (!parsed.singleFile.empty() && SingleFileInsideFolder(parsed.singleFile, parsed.positional[1])) {
        problem = "the single file may not lie inside OUT_DIR";
        return false;
    }
    return true;
}

bool ParseSourceEncoding(const std::string& text, SourceEncoding& encoding) {
    if (text == "utf-8" || text == "utf8") encoding = SourceEncoding::kUtf8;
    else if (text.empty() || text == "ansi") encoding = SourceEncoding::kAnsi;
    else return false;
    return true;
}

// Prints every finding; false when one is an error.
bool ReportFindings(const std::string& projectDir, unsigned codePage, SourceEncoding encoding) {
    const std::vector<Finding> findings = CheckProject(projectDir, codePage, encoding);
    for (const Finding& finding : findings) std::fprintf(stderr, "%s\n", FormatFinding(finding).c_str());
    return !HasErrors(findings);
}

int RunCheck(const std::vector<std::string>& args) {
    CommandArguments parsed;
    std::string problem;
    if (!ParseOptions(args, parsed, problem)) return UsageError(problem);
    if (!parsed.engine.empty() || !parsed.uninstaller.empty() || parsed.noUninstaller || parsed.skipCheck ||
        parsed.AnySigning() || !parsed.singleFile.empty())
        return UsageError("check takes only --code-page and --source-encoding");
    if (parsed.positional.size() != 1) return UsageError("check needs PROJECT_DIR");
    unsigned codePage = DefaultCodePage();
    if (!parsed.codePage.empty() && !ParseCodePage(parsed.codePage, codePage))
        return UsageError("bad code page " + parsed.codePage);
    SourceEncoding encoding = SourceEncoding::kAnsi;
    if (!ParseSourceEncoding(parsed.sourceEncoding, encoding))
        return UsageError("bad source encoding " + parsed.sourceEncoding + " (ansi or utf-8)");
    return ReportFindings(parsed.positional[0], codePage, encoding) ? 0 : 1;
}

int RunReference(const std::vector<std::string>& args) {
    const std::string reference = core::settingsref::ReferenceMarkdown();
    if (args.empty()) {
        std::fputs(reference.c_str(), stdout);
        return 0;
    }
    if (args.size() != 2 || args[0] != "--update") return UsageError("reference takes --update GUIDE_MD");
    std::ifstream in(args[1], std::ios::binary);
    if (!in) throw std::runtime_error(args[1] + ": cannot read");
    const std::string updated = WithReference(std::string(std::istreambuf_iterator<char>(in), {}), reference);
    in.close();
    std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
    if (!(out << updated)) throw std::runtime_error(args[1] + ": cannot write");
    return 0;
}

// The setup.exe BuildProject wrote into the output folder.
std::string ShippedSetupPath(const std::string& outDir) {
    return (std::filesystem::path(outDir) / "setup.exe").string();
}

// Signs each program; false, with each failure on stderr, when one was not
// signed (it is then as it was: never half signed).
bool SignShippedPrograms(const SigningOptions& signing, const std::vector<std::string>& programs) {
    bool allSigned = true;
    for (const std::string& program : programs) {
        try {
            SignFile(signing, program);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s\n", error.what());
            allSigned = false;
        }
    }
    return allSigned;
}

// What changes the shipped programs after BuildProject (which stamps the
// resources into setup.exe), in this order only:
//   1. the single file: written here from the unsigned setup.exe with the
//      package appended;
//   2. signing, last: setup.exe and the single file. A signature covers the
//      resources and the appended package; any change after it breaks it.
// False when a program could not be signed.
bool FinishShippedPrograms(const std::string& outDir, bool shipsSetup, const std::string& singleFile,
                           unsigned codePage, const SigningOptions& signing) {
    std::vector<std::string> programsToSign;
    if (shipsSetup) programsToSign.push_back(ShippedSetupPath(outDir));
    if (!singleFile.empty()) {
        WriteSingleFile(outDir, singleFile, codePage);
        std::printf("cvpack: wrote %s\n", singleFile.c_str());
        programsToSign.push_back(singleFile);
    }
    return !signing.Requested() || SignShippedPrograms(signing, programsToSign);
}

int RunBuild(const std::vector<std::string>& args, const char* argv0) {
    CommandArguments parsed;
    std::string problem;
    if (!ParseBuildArguments(args, parsed, problem)) return UsageError(problem);
    BuildOptions options;
    options.codePage = DefaultCodePage();
    if (!parsed.codePage.empty() && !ParseCodePage(parsed.codePage, options.codePage))
        return UsageError("bad code page " + parsed.codePage);
    if (!ParseSourceEncoding(parsed.sourceEncoding, options.sourceEncoding))
        return UsageError("bad source encoding " + parsed.sourceEncoding + " (ansi or utf-8)");
    if (parsed.skipCheck) {
        options.warn = [](const std::string& warning) { std::fprintf(stderr, "%s\n", warning.c_str()); };
    } else if (!ReportFindings(parsed.positional[0], options.codePage, options.sourceEncoding)) {
        std::fprintf(stderr, "cvpack: the project has errors; nothing was built\n");
        return 1;
    }  // else the check has printed the warnings the build would find again
    options.enginePath =
        LocateEngine(parsed.engine, std::getenv("CVPACK_ENGINE"), ToolDirectory(argv0));
    if (options.enginePath.empty() && !parsed.singleFile.empty()) {
        std::fprintf(stderr, "%s: error: a single file needs an engine (use --engine); nothing was built\n",
                     parsed.singleFile.c_str());
        return 1;
    }
    // A single file's engine is refused before anything is built.
    if (!parsed.singleFile.empty()) CheckSingleFileEngine(options.enginePath);
    if (options.enginePath.empty())
        std::fprintf(stderr, "cvpack: warning: no setup.exe found (use --engine); "
                             "the output has none\n");
    options.uninstallerPath =
        parsed.noUninstaller ? std::string() : LocateUninstaller(parsed.uninstaller, options.enginePath);
    options.requireUninstaller = !parsed.noUninstaller;
    // The uninstaller is signed before it goes into the cabinet: a signed
    // copy is packed, the file named stays as it is.
    std::unique_ptr<SignedCopy> signedUninstaller;
    if (parsed.signing.Requested() && !options.uninstallerPath.empty()) {
        signedUninstaller = std::make_unique<SignedCopy>(parsed.signing, options.uninstallerPath);
        options.uninstallerPath = signedUninstaller->Path();
    }
    // BuildProject writes setup.exe with its resources stamped in.
    BuildSummary summary = BuildProject(parsed.positional[0], parsed.positional[1], options);
    std::string counts = std::to_string(summary.payloadFiles) + " payload files, " +
                         std::to_string(summary.webItems) + " web items, " +
                         std::to_string(summary.workingFiles) + " working files";
    std::printf("cvpack: built %s (%s)\n", parsed.positional[1].c_str(), counts.c_str());
    if (!FinishShippedPrograms(parsed.positional[1], !options.enginePath.empty(), parsed.singleFile, options.codePage,
                               parsed.signing)) {
        std::fprintf(stderr, "cvpack: %s was built, but not signed\n", parsed.positional[1].c_str());
        return 1;
    }
    if (!summary.shipsUninstaller)
        std::fprintf(stderr, "cvpack: warning: no cvexec.exe shipped (--no-uninstaller); "
                             "the product cannot be removed\n");
    return 0;
}

// Every file is checked to be a Windows program before any is signed: a
// mistyped list signs nothing.
int RunSign(const std::vector<std::string>& args) {
    CommandArguments parsed;
    std::string problem;
    if (!ParseOptions(args, parsed, problem)) return UsageError(problem);
    if (!parsed.engine.empty() || !parsed.uninstaller.empty() || parsed.noUninstaller || parsed.skipCheck ||
        !parsed.sourceEncoding.empty() || !parsed.codePage.empty())
        return UsageError("sign takes only --sign-cert, --sign-key, --sign-pass-file and --timestamp");
    problem = SigningOptionsProblem(parsed.signing);
    if (!problem.empty()) return UsageError(problem);
    if (parsed.positional.empty()) return UsageError("sign needs at least one FILE");
    bool allPrograms = true;
    for (const std::string& file : parsed.positional) {
        const std::string notPe = NotPortableExecutableFile(file);
        if (notPe.empty()) continue;
        std::fprintf(stderr, "%s: error: not signed: %s\n", file.c_str(), notPe.c_str());
        allPrograms = false;
    }
    if (!allPrograms) return 1;
    return SignShippedPrograms(parsed.signing, parsed.positional) ? 0 : 1;
}

int RunList(const std::vector<std::string>& args) {
    CommandArguments parsed;
    std::string problem;
    if (!ParseOptions(args, parsed, problem)) return UsageError(problem);
    if (!parsed.engine.empty() || !parsed.uninstaller.empty() || parsed.noUninstaller || parsed.skipCheck ||
        !parsed.sourceEncoding.empty() || parsed.AnySigning() || !parsed.singleFile.empty())
        return UsageError("list takes only --code-page");
    if (parsed.positional.size() != 1) return UsageError("list needs PACKAGE_DIR");
    unsigned codePage = DefaultCodePage();
    if (!parsed.codePage.empty() && !ParseCodePage(parsed.codePage, codePage))
        return UsageError("bad code page " + parsed.codePage);
    std::fputs(FormatPackageListing(ReadPackage(parsed.positional[0], codePage)).c_str(), stdout);
    return 0;
}

int Run(const std::string& command, const std::vector<std::string>& args, const char* argv0) {
    if (command == "encrypt" || command == "decrypt") {
        if (args.size() != 2) return UsageError(command + " needs IN and OUT");
        if (command == "encrypt") EncryptProjectFile(args[0], args[1]);
        else DecryptProjectFile(args[0], args[1]);
        return 0;
    }
    if (command == "build") return RunBuild(args, argv0);
    if (command == "sign") return RunSign(args);
    if (command == "list") return RunList(args);
    if (command == "check") return RunCheck(args);
    if (command == "reference") return RunReference(args);
    return UsageError("unknown command " + command);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    core::RestrictLibrarySearch();  // before the first call into cabinet.dll
#endif
    if (argc < 2) return UsageError("no command");
    std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version") {
        if (argc != 2) return UsageError("--version takes no arguments");
        std::printf("cvpack %s\n", CVPACK_VERSION);
        return 0;
    }
    try {
        return Run(command, std::vector<std::string>(argv + 2, argv + argc), argv[0]);
    } catch (const std::exception& error) {
        // The message alone: for the cipher it is the user-facing text itself.
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
