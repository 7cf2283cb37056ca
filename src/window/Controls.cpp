// Building the window: its pictures, its controls at their design places, and
// re-placing them when the window's DPI changes.
#include <windows.h>
#include <commctrl.h>

#include <iterator>
#include <utility>

#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "window/Layout.h"
#include "window/frmMain.h"
#include "window/resource.h"

namespace window {
namespace {

constexpr COLORREF kMaskColour = RGB(192, 192, 192);
constexpr int kImageSize = 20;
constexpr int kImageCount = 4;

HINSTANCE Instance() {
  return GetModuleHandleA(nullptr);
}

UniqueBitmap LoadPicture(int id) {
  UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) throw platform::Win32Failure(GetLastError());
  return bitmap;
}

}  // namespace

void frmMain::LoadPictures() {
  pics_.system = LoadPicture(IDB_SYSTEM);
  pics_.user = LoadPicture(IDB_USER);
  pics_.sort = LoadPicture(IDB_SORT);
  pics_.sorted = LoadPicture(IDB_SORTED);
  pics_.binoculars.reset(static_cast<HICON>(
      LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_BINOCULARS), IMAGE_ICON, 16, 16, 0)));
  if (!pics_.binoculars) throw platform::Win32Failure(GetLastError());

  pics_.ImageList1.reset(
      ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, kImageCount, 0));
  if (!pics_.ImageList1) throw platform::Failure(0, "The image list could not be created");
  const UniqueBitmap strip = LoadPicture(IDB_IMAGELIST);
  ImageList_AddMasked(pics_.ImageList1.get(), strip.get(), kMaskColour);
  if (ImageList_GetImageCount(pics_.ImageList1.get()) != kImageCount) {
    throw platform::Failure(0, "The image list's pictures are incomplete");
  }

  pics_.mnuAction.reset(LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_ACTION)));
  if (!pics_.mnuAction) throw platform::Win32Failure(GetLastError());
}

HWND frmMain::MakeControl(HWND parent, int id, const char* className, const char* text, DWORD style,
                          DWORD exStyle) {
  // Created at its design place: moving a control afterwards costs as much
  // again as creating it, a list most of all.
  const TwipsRect& place = DesignRect(id);
  const HWND control =
      CreateWindowExA(exStyle, className, text, WS_CHILD | WS_CLIPSIBLINGS | style, Px(place.left),
                      Px(place.top), Px(place.width), Px(place.height), parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (control == nullptr) throw platform::Win32Failure(GetLastError());
  return control;
}

void frmMain::OnCreate() {
  dpi_ = GetDpiForWindow(hwnd_);
  if (dpi_ == 0) dpi_ = 96;
  // Each control is created at its design place for this DPI.
  CreateControls();
  ApplyFont();

  // The client area starts at its design size; the frame is what the window
  // manager gives around it.
  RECT outer{};
  RECT client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  const int width = Px(kDesignClientWidth) + (outer.right - outer.left) - client.right;
  const int height = Px(kDesignClientHeight) + (outer.bottom - outer.top) - client.bottom;
  // Create sizes the window for the design already, where it can tell the DPI
  // and the frame beforehand.
  if (width != outer.right - outer.left || height != outer.bottom - outer.top) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The platform delivers the first Resize only when the window is shown,
  // after Form_Load: the lists take their size now, while they are empty,
  // since resizing a list of thousands of items takes tens of milliseconds.
  // That first Resize then finds every control in place.
  Form_Resize();
}

void frmMain::CreateControls() {
  constexpr DWORD kVisible = WS_VISIBLE;
  constexpr DWORD kListStyle =
      WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
  const HWND self = hwnd_;
  // Created in tab order, which is also the order of the keyboard's Tab key.
  ctl_.lstPath = MakeControl(self, IDC_LSTPATH, WC_LISTVIEWA, "lstPath", kVisible | kListStyle);
  ctl_.txtSearch = MakeControl(self, IDC_TXTSEARCH, WC_EDITA, "",
                               kVisible | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
  ctl_.Label3 = MakeControl(self, IDC_LABEL3, WC_STATICA, "Find:", kVisible | SS_LEFT);
  ctl_.TabStrip1 =
      MakeControl(self, IDC_TABSTRIP1, WC_TABCONTROLA, "TabStrip1", kVisible | WS_TABSTOP);
  ctl_.lstClasspath = MakeControl(self, IDC_LSTCLASSPATH, WC_LISTVIEWA, "lstClasspath", kListStyle);
  ctl_.Frame2 =
      MakeControl(self, IDC_FRAME2, WC_BUTTONA, "", kVisible | BS_GROUPBOX, WS_EX_CONTROLPARENT);
  ctl_.cmdClose = MakeControl(ctl_.Frame2, IDC_CMDCLOSE, WC_BUTTONA, "Close",
                              kVisible | WS_TABSTOP | BS_PUSHBUTTON);
  ctl_.cmdSave = MakeControl(ctl_.Frame2, IDC_CMDSAVE, WC_BUTTONA, "Save Report",
                             kVisible | WS_TABSTOP | BS_PUSHBUTTON);
  ctl_.cmdView = MakeControl(ctl_.Frame2, IDC_CMDVIEW, WC_BUTTONA, "View Report",
                             kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON);
  ctl_.Frame1 =
      MakeControl(self, IDC_FRAME1, WC_BUTTONA, "Key", kVisible | BS_GROUPBOX, WS_EX_CONTROLPARENT);
  ctl_.Label2 = MakeControl(ctl_.Frame1, IDC_LABEL2, WC_STATICA, "System", kVisible | SS_LEFT);
  ctl_.labUser = MakeControl(ctl_.Frame1, IDC_LABUSER, WC_STATICA, "User", kVisible | SS_LEFT);
  // Pictures and the shape take no focus. No picture stretches its picture.
  constexpr DWORD kPicture = kVisible | SS_BITMAP | SS_CENTERIMAGE;
  ctl_.Image1 = MakeControl(ctl_.Frame1, IDC_IMAGE1, WC_STATICA, "", kPicture);
  ctl_.Image2 = MakeControl(ctl_.Frame1, IDC_IMAGE2, WC_STATICA, "", kPicture);
  ctl_.imgSort = MakeControl(self, IDC_IMGSORT, WC_STATICA, "", kPicture | SS_NOTIFY);
  ctl_.imgSearch = MakeControl(self, IDC_IMGSEARCH, WC_STATICA, "",
                               kVisible | SS_ICON | SS_CENTERIMAGE | SS_NOTIFY);
  // Last, so that the search row's controls stand in front of its outline.
  ctl_.Shape1 = MakeControl(self, IDC_SHAPE1, WC_STATICA, "", kVisible | SS_BLACKFRAME);

  SendMessageA(ctl_.Image1, STM_SETIMAGE, IMAGE_BITMAP,
               reinterpret_cast<LPARAM>(pics_.system.get()));
  SendMessageA(ctl_.Image2, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pics_.user.get()));
  SendMessageA(ctl_.imgSearch, STM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(pics_.binoculars.get()));
  SetSortPicture(kPictureSort);

  for (const char* caption : {"Path", "ClassPath"}) {
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(caption);
    SendMessageA(ctl_.TabStrip1, TCM_INSERTITEMA,
                 static_cast<WPARAM>(SendMessageA(ctl_.TabStrip1, TCM_GETITEMCOUNT, 0, 0)),
                 reinterpret_cast<LPARAM>(&tab));
  }

  for (const HWND list : {ctl_.lstPath, ctl_.lstClasspath}) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(pics_.ImageList1.get()));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(pics_.ImageList1.get()));
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<char*>("Type");
    column.cx = Px(kColumnWidth);
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  }
  const HWND hooked[] = {ctl_.lstPath, ctl_.lstClasspath, ctl_.txtSearch, ctl_.Frame1, ctl_.Frame2};
  static_assert(std::size(hooked) == std::tuple_size_v<decltype(hooks_)>);
  for (std::size_t i = 0; i < hooks_.size(); ++i) Subclass(hooked[i], hooks_[i]);
}

void frmMain::ApplyDpi() {
  for (const auto& [id, rect] : kDesign) {
    // A control stands in the window or in one of the two frames.
    HWND control = GetDlgItem(hwnd_, id);
    if (control == nullptr) control = GetDlgItem(ctl_.Frame1, id);
    if (control == nullptr) control = GetDlgItem(ctl_.Frame2, id);
    SetWindowPos(control, nullptr, Px(rect.left), Px(rect.top), Px(rect.width), Px(rect.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ApplyFont();
}

void frmMain::ApplyFont() {
  // The platform's dialog font, 8 points at this DPI.
  LOGFONTA dialogFont{};
  dialogFont.lfHeight = -MulDiv(8, static_cast<int>(dpi_), 72);
  dialogFont.lfWeight = FW_NORMAL;
  dialogFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(dialogFont.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
  UniqueFont font(CreateFontIndirectA(&dialogFont));
  const HFONT shown = font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  const HWND controls[] = {
      ctl_.lstPath,  ctl_.txtSearch, ctl_.Label3,  ctl_.TabStrip1, ctl_.lstClasspath, ctl_.Frame2,
      ctl_.cmdClose, ctl_.cmdSave,   ctl_.cmdView, ctl_.Frame1,    ctl_.Label2,       ctl_.labUser,
      ctl_.Image1,   ctl_.Image2,    ctl_.Shape1,  ctl_.imgSort,   ctl_.imgSearch};
  static_assert(std::size(controls) == std::tuple_size_v<decltype(kDesign)>);
  for (const HWND control : controls) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
  }
  for (const HWND list : {ctl_.lstPath, ctl_.lstClasspath}) {
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, Px(kColumnWidth));
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
  // The controls let go of the old font before it is deleted.
  font_ = std::move(font);
}

void frmMain::OnGetMinMaxInfo(MINMAXINFO& info) const {
  info.ptMinTrackSize.x = Px(kMinOuterWidth);
  info.ptMinTrackSize.y = Px(kMinOuterHeight);
}

void frmMain::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  ApplyDpi();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Form_Resize();
}

void frmMain::SetSortPicture(int picture) {
  sortPicture_ = picture;
  const HBITMAP shown = picture == kPictureSorted ? pics_.sorted.get() : pics_.sort.get();
  SendMessageA(ctl_.imgSort, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown));
}

int frmMain::Px(double twips) const {
  return TwipsToPixels(twips, dpi_);
}

}  // namespace window
