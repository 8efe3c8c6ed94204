#pragma once
// Move-only owners of system handles. Each kind knows its own empty value and
// how to release it; copying is deleted so nothing is closed twice.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace base {

template <typename T, T Empty, typename Closer>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T h) noexcept : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Empty; }
    T release() noexcept { return std::exchange(h_, Empty); }
    void reset(T h = Empty) noexcept {
        if (h_ != Empty) Closer{}(h_);
        h_ = h;
    }
    T* put() noexcept {
        reset();
        return &h_;
    }

private:
    T h_ = Empty;
};

struct CloseHandleCloser {
    void operator()(HANDLE h) const noexcept { ::CloseHandle(h); }
};
struct FindCloseCloser {
    void operator()(HANDLE h) const noexcept { ::FindClose(h); }
};
struct RegCloseCloser {
    void operator()(HKEY h) const noexcept { ::RegCloseKey(h); }
};
struct FreeLibraryCloser {
    void operator()(HMODULE h) const noexcept { ::FreeLibrary(h); }
};
struct DeleteObjectCloser {
    void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); }
};
struct DestroyIconCloser {
    void operator()(HICON h) const noexcept { ::DestroyIcon(h); }
};

class FileHandle : public UniqueHandle<HANDLE, nullptr, CloseHandleCloser> {
public:
    FileHandle() noexcept = default;
    explicit FileHandle(HANDLE h) noexcept
        : UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};
class FindHandle : public UniqueHandle<HANDLE, nullptr, FindCloseCloser> {
public:
    FindHandle() noexcept = default;
    explicit FindHandle(HANDLE h) noexcept
        : UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};
using KernelHandle = UniqueHandle<HANDLE, nullptr, CloseHandleCloser>;
using RegKey = UniqueHandle<HKEY, nullptr, RegCloseCloser>;
using Module = UniqueHandle<HMODULE, nullptr, FreeLibraryCloser>;
using GdiObject = UniqueHandle<HGDIOBJ, nullptr, DeleteObjectCloser>;
using IconHandle = UniqueHandle<HICON, nullptr, DestroyIconCloser>;

// A screen or window device context obtained with GetDC; remembers its window.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) noexcept : wnd_(wnd), dc_(::GetDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// Owning COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }
    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    template <typename U>
    HRESULT As(ComPtr<U>& out) const noexcept {
        return p_->QueryInterface(__uuidof(U), out.put_void());
    }

private:
    T* p_ = nullptr;
};

// Runs a callable when the scope ends, also when it ends by an exception.
template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { f_(); }

private:
    F f_;
};

// One CoInitializeEx/CoUninitialize pair on the calling thread.
class ComApartment {
public:
    ComApartment() noexcept { (void)::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { ::CoUninitialize(); }
};

}  // namespace base
