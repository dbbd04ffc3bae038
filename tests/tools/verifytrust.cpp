// verifytrust FILE: asks Windows whether FILE carries a valid Authenticode
// signature from a trusted publisher (WinVerifyTrust with the generic
// verification action, no window, no revocation check: the tests' own
// authority publishes no revocation list). Prints "TRUST:" and the result as
// eight hexadecimal digits (00000000 valid, 800B0100 not signed, 80096010 a
// digest that does not match) and exits with 0 when it is valid, else 1.
#include <windows.h>
#include <softpub.h>
#include <wintrust.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const int length = MultiByteToWideChar(CP_ACP, 0, argv[1], -1, nullptr, 0);
    if (length <= 0) return 2;
    std::wstring path(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, &path[0], length);

    WINTRUST_FILE_INFO file = {};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path.c_str();
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    std::printf("TRUST:%08lX\n", static_cast<unsigned long>(result));
    return result == ERROR_SUCCESS ? 0 : 1;
}
