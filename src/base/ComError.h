#pragma once
// The platform's COM error: the system's text for a failed HRESULT.
#include <windows.h>

namespace base {

// Raises base::Error with the system's text for hr ("OLE error" and the code in hex when it has none).
[[noreturn]] void RaiseComError(HRESULT hr);

inline void CheckCom(HRESULT hr) {
    if (FAILED(hr)) RaiseComError(hr);
}

}  // namespace base
