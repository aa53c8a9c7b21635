// Where the programs find the DLLs they load: the system folder only. Users start them where
// the browser put them, and a Downloads folder holds whatever else was downloaded; a DLL there
// named like a system DLL must never run inside a program of ours.
#pragma once

namespace vemo {

// The first call of each entry point. Afterwards every DLL the process loads (delay-loaded,
// loaded by a system DLL in turn, or by the shell and COM) comes from the system folder,
// where Windows has SetDefaultDllDirectories (8 and later; Vista and 7 with KB2533623). Where
// it has not (XP), the current folder at least leaves the search. What the program imports
// statically is loaded before any call can protect it: those are KnownDLLs, which Windows
// always takes from the system folder (tests/imports/known-dlls.txt).
void LoadDllsFromSystemFolderOnly();

}  // namespace vemo
