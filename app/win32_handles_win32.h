#pragma once
// Owning wrappers for the Win32 handles the program keeps.
#include <windows.h>

#include <memory>
#include <type_traits>

template <typename Handle, auto Close>
struct HandleCloser {
  using pointer = Handle;
  void operator()(Handle h) const {
    if (h) Close(h);
  }
};

using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, HandleCloser<HWND, DestroyWindow>>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, HandleCloser<HMENU, DestroyMenu>>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, HandleCloser<HFONT, DeleteObject>>;
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser<HANDLE, CloseHandle>>;
