// Making a shipped setup.exe the author's: its version resource names the
// product (ProductName, "<product> Setup", the publisher, the version, the
// copyright, "setup.exe") and its application icon (the first icon group,
// which Explorer shows) becomes the project's. Every other resource stays as
// it was, byte for byte.
#pragma once

#include <string>
#include <vector>

#include "IconFile.h"
#include "ProductIdentity.h"
#include "ResourceSection.h"

// The version resource for `identity`.
std::string ProductVersionResource(const ProductIdentity& identity);

// Replaces the version resource and, when `pictures` is not empty, the first
// icon group and its icons in `resources`. New icons are numbered above every
// icon there. Throws std::runtime_error when the resources hold no icon group
// or no number is left for the icons.
void StampResources(std::vector<pe::Resource>& resources, const ProductIdentity& identity,
                    const std::vector<ico::Picture>& pictures);

// Stamps the engine at `path` in place. Throws std::runtime_error naming the
// reason when the file cannot be read, is no engine this tool can stamp (see
// PeImage.h), the icon file is not usable, or the file cannot be written.
void StampEngine(const std::string& path, const ProductIdentity& identity);
