// An earlier installation of the same product: removed first ("New
// Installation" with removal asked for) or taken over ("Upgrade").
#pragma once

#include <functional>
#include <string>

namespace control {

struct PreviousInstallSettings {
    std::string mode;            // APPINFO a26
    std::string removeFirst;     // a29
    std::string detectMethod;    // a27
    std::string registryPath;    // a28: ROOT\key\path\value
    std::string productCode;     // a3
};

// Splits "ROOT\key\path\value" into its three parts; false without two backslashes.
bool SplitRegistryValuePath(const std::string& full, std::string& root, std::string& keyPath,
                            std::string& valueName);

struct PreviousInstallActions {
    // Expands a project text (the setup expansion).
    std::function<std::string(const std::string&)> expand;
    // Runs a program with its argument text and waits for its end.
    std::function<void(const std::string&, const std::string&)> runAndWait;
    // Takes over the earlier installation folder (with its trailing backslash).
    std::function<void(const std::string&)> setInstallFolder;
};

// Never stops the setup: every outcome lets the start-up go on.
void HandlePreviousInstallation(const PreviousInstallSettings& s, const PreviousInstallActions& a);

}  // namespace control
