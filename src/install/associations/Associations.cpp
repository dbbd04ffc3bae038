#include "install/associations/Associations.h"

#include <windows.h>

#include "core/Registry.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "install/shared/EarlierOwnership.h"
#include "install/shared/ShippedFiles.h"
#include "install/shared/SystemNotify.h"

namespace install {

namespace {

namespace ext = core::keys::extcv;

constexpr char kClassesRoot[] = "HKEY_CLASSES_ROOT\\";
constexpr char kIconKey[] = "DefaultIcon";
constexpr char kOpenCommandKey[] = "shell\\Open\\Command";

struct Association {
    std::string extension;  // ".txt"
    std::string fileType;   // the class key the extension points to
    std::string description;
    std::string command;   // "\"program\" arguments"
    std::string iconName;  // file name only; "" for none
};

Association ReadAssociation(InstallContext& ctx, int i) {
    const std::string& settings = ctx.Setup().settingsPath;
    auto field = [&](const char* letter) {
        return core::settings::ReadListField(settings, ext::kSection, letter, i);
    };
    Association a;
    a.extension = field(ext::kExtension);
    a.fileType = field(ext::kFileType);
    a.description = field(ext::kDescription);
    a.command = "\"" + ctx.Expand(field(ext::kProgram)) + "\" " + field(ext::kArguments);
    a.iconName = FileNameOfPath(field(ext::kIconFile));
    return a;
}

// Writes one association, logging what lets the uninstaller undo it without
// destroying what was there: a class key this run created is removed whole;
// in a key that existed, each value this run overwrites is put back and each
// value it adds is deleted.
class AssociationWriter {
public:
    explicit AssociationWriter(InstallContext& context) : ctx_(context) {}

    void Write(const Association& a) {
        const bool typeExisted = core::registry::KeyExists(HKEY_CLASSES_ROOT, a.fileType);
        if (!typeExisted)
            ctx_.Log(core::LogKind::RemKey, kClassesRoot + a.fileType);
        else
            RememberTypeValues(a, Claim(a.fileType));

        const bool extensionExisted = core::registry::KeyExists(HKEY_CLASSES_ROOT, a.extension);
        Ensure(a.extension);
        if (!extensionExisted)
            ctx_.Log(core::LogKind::RemKey, kClassesRoot + a.extension);
        else
            RememberValue(a.extension, Claim(a.extension));

        const std::string iconKey = a.fileType + "\\" + kIconKey;
        const std::string commandKey = a.fileType + "\\" + kOpenCommandKey;
        Ensure(iconKey);
        Ensure(commandKey);
        Set(a.extension, a.fileType);
        Set(a.fileType, a.description);
        if (!a.iconName.empty()) Set(iconKey, ctx_.Expand("<InstallDir>") + a.iconName);
        Set(commandKey, a.command);
        // The icon travels with the setup; the registered path points at its copy.
        if (!a.iconName.empty()) InstallShippedFile(ctx_, a.iconName);
    }

private:
    // A key the product's earlier run created is the product's still: a
    // removal deletes it, and the values this run overwrites in it are put
    // back by a rollback only. True when it is one.
    bool Claim(const std::string& key) {
        if (!ctx_.EarlierRunOwned(core::LogKind::RemKey, kClassesRoot + key)) return false;
        LogClaim(ctx_, core::LogKind::RemKey, kClassesRoot + key);
        return true;
    }

    void RememberTypeValues(const Association& a, bool claimed) {
        RememberValue(a.fileType, claimed);
        RememberKey(a.fileType, kIconKey, claimed);
        RememberKey(a.fileType, kOpenCommandKey, claimed);
    }

    // For a sub-key of an existing class: its default value when the key
    // exists, else the first level of it that this run creates.
    void RememberKey(const std::string& base, const std::string& relative, bool claimed) {
        std::string key = base;
        size_t start = 0;
        for (;;) {
            const size_t end = relative.find('\\', start);
            key += "\\" + relative.substr(start, end == std::string::npos ? end : end - start);
            if (!core::registry::KeyExists(HKEY_CLASSES_ROOT, key)) {
                ctx_.Log(core::LogKind::RemKey, kClassesRoot + key);
                return;
            }
            if (end == std::string::npos) break;
            start = end + 1;
        }
        RememberValue(key, claimed);
    }

    // The default value of an existing key: its former text, or that it was
    // absent. A value of another type is left as this run writes it.
    // What the product's earlier run wrote here is the product's: its lines
    // for the removal are claimed again, and what it left waits for a
    // rollback only.
    void RememberValue(const std::string& key, bool claimed) {
        const std::string path = kClassesRoot + key + "\\";
        const bool earlier = claimed || EarlierRunWroteValue(ctx_, path);
        if (earlier) ClaimEarlierValueLines(ctx_, path, true);
        auto log = [&](core::LogKind kind, const std::string& value) {
            if (earlier) LogForRollback(ctx_, kind, value);
            else ctx_.Log(kind, value);
        };
        const std::optional<core::registry::Value> old =
            core::registry::ReadValue(HKEY_CLASSES_ROOT, key, "");
        if (!old) {
            log(core::LogKind::RegVal, path);
            return;
        }
        const std::string line =
            core::FormatOldValue({old->type, path, std::string(old->bytes.c_str())});
        if (line.empty())
            core::trace::Value("association value not restorable", path);
        else
            log(core::LogKind::RegOld, line);
    }

    void Ensure(const std::string& key) {
        if (!core::registry::EnsureKey(HKEY_CLASSES_ROOT, key))
            core::trace::Failure("RegCreateKeyExA", kClassesRoot + key, GetLastError());
    }

    void Set(const std::string& key, const std::string& text) {
        if (!core::registry::WriteText(HKEY_CLASSES_ROOT, key, "", text))
            core::trace::Failure("RegSetValueExA", kClassesRoot + key, GetLastError());
    }

    InstallContext& ctx_;
};

}  // namespace

ActionResult RegisterAssociations(InstallContext& ctx) {
    const int total = core::settings::ReadInstallListCount(ctx.Setup().settingsPath, ext::kSection);
    AssociationWriter writer(ctx);
    bool changed = false;
    for (int i = 0; i < total; ++i) {
        const Association a = ReadAssociation(ctx, i);
        // An empty name would make the root of all classes the key to remove.
        if (a.extension.empty() || a.fileType.empty()) continue;
        writer.Write(a);
        changed = true;
    }
    if (changed) AnnounceAssociationChange();
    return ActionResult::Continue;
}

}  // namespace install
