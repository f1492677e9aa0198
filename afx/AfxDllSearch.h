#pragma once
// Where the program's DLLs come from. Pellory runs elevated and is started from a
// Downloads folder, where a DLL planted under the name of one it loads would run with
// administrator rights. The exe imports directly only KnownDLLs (never looked up beside
// a program); every other DLL is delay-loaded and comes from the system folder.

// Restricts the DLL search of this process to the system folder. Call it first, before
// anything can load a DLL. On a Windows 7 that lacks SetDefaultDllDirectories
// (KB2533623), the delay-loaded DLLs are loaded by their full system-folder path instead.
void AfxRestrictDllSearch();
