#include "host/single_instance_win32.h"

#include <windows.h>

#include "common/handles_win32.h"

namespace fulmina {

namespace {
constexpr wchar_t settingsObject[] = L"Local\\Fulmina.Settings";
constexpr wchar_t saverObject[] = L"Local\\Fulmina.Saver";

bool exists(const wchar_t* name) {
    const handles::KernelObject object(OpenMutexW(SYNCHRONIZE, FALSE, name));
    return object || GetLastError() == ERROR_ACCESS_DENIED;  // there, though not ours to open
}

// Makes the object and keeps it until the process ends; false when another
// process made it first.
bool hold(const wchar_t* name) {
    static handles::KernelObject held;
    held.reset(CreateMutexW(nullptr, FALSE, name));
    return !held || GetLastError() != ERROR_ALREADY_EXISTS;
}
}  // namespace

bool claimSingleInstance(char mode) {
    if (mode == 'C') return hold(settingsObject);
    if (exists(settingsObject)) return false;
    return mode != 'S' || hold(saverObject);
}

}  // namespace fulmina
