#pragma once
// One owning type per kind of Win32 handle the program keeps: each closes its
// handle with the call that kind needs, on every way out.
#include <windows.h>

#include <wininet.h>

#include <memory>
#include <type_traits>
#include <utility>

template <typename Handle, auto Close>
struct HandleCloser {
  using pointer = Handle;
  void operator()(Handle h) const {
    if (h) Close(h);
  }
};

template <typename Handle, auto Close>
using UniqueResource = std::unique_ptr<std::remove_pointer_t<Handle>, HandleCloser<Handle, Close>>;

using UniqueWindow = UniqueResource<HWND, DestroyWindow>;
using UniqueMenu = UniqueResource<HMENU, DestroyMenu>;
using UniqueFont = UniqueResource<HFONT, DeleteObject>;
using UniqueHandle = UniqueResource<HANDLE, CloseHandle>;
using UniqueInternet = UniqueResource<HINTERNET, InternetCloseHandle>;
using UniqueGlobal = UniqueResource<HGLOBAL, GlobalFree>;

// A window's device context, given back with ReleaseDC.
class UniqueWindowDc {
public:
  explicit UniqueWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~UniqueWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  UniqueWindowDc(const UniqueWindowDc&) = delete;
  UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;
  HDC get() const { return dc_; }

private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context until this goes, then the one it
// replaced is selected again.
class SelectedObject {
public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The clipboard, open from construction (when it could be opened) until this goes.
class OpenClipboardSession {
public:
  OpenClipboardSession() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~OpenClipboardSession() {
    if (open_) CloseClipboard();
  }
  OpenClipboardSession(const OpenClipboardSession&) = delete;
  OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;
  bool is_open() const { return open_; }

private:
  bool open_;
};
