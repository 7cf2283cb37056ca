// One owner per kind of handle the window holds. Each closes its handle on
// every path and cannot be copied; a null handle is simply not closed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace velmora::window {

template <class Handle, auto Close>
struct HandleCloser {
  void operator()(Handle handle) const noexcept {
    if (handle != nullptr) Close(handle);
  }
};

template <class Handle, auto Close>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, HandleCloser<Handle, Close>>;

inline void DeleteGdiObject(HGDIOBJ object) noexcept {
  DeleteObject(object);
}
inline void DestroyIconHandle(HICON icon) noexcept {
  DestroyIcon(icon);
}
inline void DestroyMenuHandle(HMENU menu) noexcept {
  DestroyMenu(menu);
}
inline void DestroyImageListHandle(HIMAGELIST list) noexcept {
  ImageList_Destroy(list);
}
inline void DeleteDcHandle(HDC dc) noexcept {
  DeleteDC(dc);
}
inline void FreeModuleHandle(HMODULE module) noexcept {
  FreeLibrary(module);
}

using UniqueBitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using UniqueFont = UniqueHandle<HFONT, DeleteGdiObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIconHandle>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenuHandle>;
using UniqueImageList = UniqueHandle<HIMAGELIST, DestroyImageListHandle>;
using UniqueDc = UniqueHandle<HDC, DeleteDcHandle>;            // a memory device context
using UniqueModule = UniqueHandle<HMODULE, FreeModuleHandle>;  // a library loaded when needed

// A COM object's reference, released when the owner goes.
struct ComReleaser {
  void operator()(IUnknown* object) const noexcept {
    if (object != nullptr) object->Release();
  }
};
template <class Interface>
using UniqueCom = std::unique_ptr<Interface, ComReleaser>;

// Switches a control's redrawing off for a bulk change and back on after it.
class RedrawPause {
 public:
  explicit RedrawPause(HWND control) : control_(control) {
    SendMessageA(control_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPause() {
    SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control_, nullptr, TRUE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND control_;
};

// Keeps a GDI object selected into a device context while it lives.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace velmora::window
