#include "FloorWindow.h"

#include <commctrl.h>

#include <stdexcept>
#include <string_view>
#include <utility>

#include "window/Design.h"
#include "window/Texts.h"

namespace velmora::floor_program {
namespace {

constexpr const wchar_t* kClassName = L"VelmoraFloor";
constexpr int kImageSize = 20;

void RegisterOnce(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kClassName, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) throw std::runtime_error("RegisterClassExW failed");
}

HWND MakeList(HWND parent, int id, DWORD visible, HIMAGELIST images) {
  const HWND list =
      CreateWindowExW(0, WC_LISTVIEWW, L"",
                      WS_CHILD | WS_BORDER | WS_TABSTOP | visible | LVS_REPORT | LVS_SINGLESEL |
                          LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                      8, 8, 440, 300, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  if (list == nullptr) throw std::runtime_error("the list view could not be created");
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  std::wstring caption(window::LoadText(window::kColumnCaption));
  column.pszText = caption.data();
  column.cx = 400;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  return list;
}

// Two plain pictures, one per mark.
HIMAGELIST MakeImages() {
  const HIMAGELIST images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 2, 0);
  if (images == nullptr) throw std::runtime_error("the image list could not be created");
  const HDC screen = GetDC(nullptr);
  const HBITMAP strip = CreateCompatibleBitmap(screen, kImageSize * 2, kImageSize);
  ReleaseDC(nullptr, screen);
  ImageList_AddMasked(images, strip, RGB(192, 192, 192));
  DeleteObject(strip);
  return images;
}

}  // namespace

std::vector<std::wstring> Pieces(const std::wstring& list) {
  std::vector<std::wstring> pieces;
  if (list.empty()) return pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = list.find(L';', start);
    pieces.push_back(list.substr(start, end == std::wstring::npos ? end : end - start));
    if (end == std::wstring::npos) return pieces;
    start = end + 1;
  }
}

std::wstring Variable(const wchar_t* name) {
  std::wstring value(32767, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), 32767);
  value.resize(length < 32767 ? length : 0);
  return value;
}

FloorWindow::FloorWindow(bool withDesignControls) : FloorWindow(ListsOnly{}) {
  if (withDesignControls) MakeDesignControls();
}

FloorWindow::FloorWindow(ListsOnly) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterOnce(instance, &FloorWindow::Procedure);
  images_ = MakeImages();
  window_ = CreateWindowExW(0, kClassName, L"Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 480, 400, nullptr, nullptr, instance, this);
  if (window_ == nullptr) {
    ImageList_Destroy(images_);
    throw std::runtime_error("the window could not be created");
  }
  path_ = MakeList(window_, 1, WS_VISIBLE, images_);
  classpath_ = MakeList(window_, 2, 0, images_);
}

FloorWindow::~FloorWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  ImageList_Destroy(images_);
  if (font_ != nullptr) DeleteObject(font_);
  if (icon_ != nullptr) DestroyIcon(icon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

void FloorWindow::MakeDesignControls() {
  LOGFONTW dialogFont{};
  dialogFont.lfHeight = -MulDiv(8, static_cast<int>(GetDpiForWindow(window_)), 72);
  dialogFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(dialogFont.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
  font_ = CreateFontIndirectW(&dialogFont);
  const auto setFont = [this](HWND control) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  };
  setFont(path_);
  setFont(classpath_);

  // Velmora's design, in its order, the lists aside: they stand already.
  std::vector<std::pair<int, HWND>> made;
  const auto handleOf = [&](int id) {
    for (const auto& [madeId, handle] : made) {
      if (madeId == id) return handle;
    }
    return window_;
  };
  for (const window::DesignedControl& control : window::kDesign) {
    if (control.id == IDC_LSTPATH || control.id == IDC_LSTCLASSPATH) continue;
    const std::wstring caption(control.caption == 0 ? std::wstring_view()
                                                    : window::LoadText(control.caption));
    const int index = static_cast<int>(made.size());
    const HWND handle = CreateWindowExW(control.exStyle, control.kind, caption.c_str(),
                                        WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | control.style,
                                        8 * index, 8 * index, 64, 24, handleOf(control.container),
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                        GetModuleHandleW(nullptr), nullptr);
    if (handle == nullptr) throw std::runtime_error("a control could not be created");
    made.emplace_back(control.id, handle);
    setFont(handle);
  }
  const HWND tabStrip = handleOf(IDC_TABSTRIP1);
  for (const UINT id : window::kTabCaptions) {
    std::wstring caption(window::LoadText(id));
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = caption.data();
    SendMessageW(tabStrip, TCM_INSERTITEMW, SendMessageW(tabStrip, TCM_GETITEMCOUNT, 0, 0),
                 reinterpret_cast<LPARAM>(&tab));
  }
  // The platform's application icon in the window's two sizes.
  const auto icon = [](int size) {
    return static_cast<HICON>(
        LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  icon_ = icon(GetSystemMetrics(SM_CXICON));
  smallIcon_ = icon(GetSystemMetrics(SM_CXSMICON));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void FloorWindow::Refill() {
  SendMessageW(path_, LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(classpath_, LVM_DELETEALLITEMS, 0, 0);
  Fill(path_, Pieces(Variable(L"PATH")), 0);
  Fill(classpath_, Pieces(Variable(L"CLASSPATH")), 1);
}

void FloorWindow::Fill(HWND list, const std::vector<std::wstring>& entries, int image) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_SETITEMCOUNT, entries.size(), 0);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iImage = image;
  for (const std::wstring& entry : entries) {
    item.iItem = INT_MAX;
    item.pszText = const_cast<wchar_t*>(entry.c_str());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  // Every item ticked, in one message.
  LVITEMW ticked{};
  ticked.stateMask = LVIS_STATEIMAGEMASK;
  ticked.state = INDEXTOSTATEIMAGEMASK(2);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&ticked));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

LRESULT CALLBACK FloorWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<FloorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FloorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY && self != nullptr) self->window_ = nullptr;
  // Closing the floor program's window ends its message loop.
  if (message == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace velmora::floor_program
