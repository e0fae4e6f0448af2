#pragma once
#include <cstdint>

// The integer results the platform-facing seams report (base/outcome.h):
// 0 for success, negative for failure, with the values Windows gives them,
// so the Direct3D device passes its own results through unchanged and the
// software device reports the same ones. A result that ends a run becomes
// its exit code.
inline constexpr int32_t kResultOk = 0;
inline constexpr int32_t kResultFail = static_cast<int32_t>(0x80004005u);         // E_FAIL
inline constexpr int32_t kResultOutOfMemory = static_cast<int32_t>(0x8007000Eu);  // E_OUTOFMEMORY
inline constexpr int32_t kResultInvalidCall = static_cast<int32_t>(0x8876086Cu);  // D3DERR_INVALIDCALL

constexpr bool failed(int32_t result) { return result < 0; }
