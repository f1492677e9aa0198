#pragma once
// The platform's last error as the fakes report it: one per thread, as on Windows.

#include <cstdint>

inline thread_local uint32_t g_fakeLastError = 0;
