// The cipher parameters every project file (setup.nsx, data.nsx) is written with.
#pragma once

#include "RijndaelFileCrypt.h"

// Sets up the cipher with the project key data, AES-128, ECB, zero padding.
void InitializeProjectCipher(CRijndaelFileCrypt& cipher);
