#pragma once
// The Windows API for tests. The profile functions of this program share their names with the
// system's, which windows.h makes macros: they are taken back here.
#include <windows.h>
#undef GetPrivateProfileString
#undef WritePrivateProfileString
