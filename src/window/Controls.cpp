// Building the window: its controls at their design places, and re-placing
// them and drawing their pictures anew when the window's DPI changes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Failure.h"
#include "platform/Win32Platform.h"
#include "window/Design.h"
#include "window/Layout.h"
#include "window/Pictures.h"
#include "window/Texts.h"
#include "window/frmMain.h"
#include "window/resource.h"

namespace velmora::window {
namespace {

HINSTANCE Instance() {
  return GetModuleHandleA(nullptr);
}

// What a control keeps around its caption, in pixels at any DPI: a push button
// its two-pixel edge, the default button's outline and a pixel of margin on
// each side; a frame the seven pixels before its caption and a pixel of margin
// on each side. A label draws its text edge to edge.
int CaptionPadding(HWND control) {
  char kind[16] = {};
  GetClassNameA(control, kind, sizeof(kind));
  if (lstrcmpiA(kind, WC_BUTTONA) != 0) return 0;
  const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
  return (style & BS_TYPEMASK) == BS_GROUPBOX ? 2 * (7 + 1) : 2 * (2 + 1 + 1);
}

// The caption's width in the control's own font, with the control's padding.
// Measured in a memory context, which measures as the control's own does:
// asking each control for its context is a Wine server trip.
int CaptionWidth(HDC measuring, HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0 || measuring == nullptr) return 0;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
  const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  const Selection selected(measuring, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  SIZE extent{};
  if (!GetTextExtentPoint32W(measuring, text.c_str(), static_cast<int>(text.size()), &extent)) {
    return 0;
  }
  return extent.cx + CaptionPadding(control);
}

// The tab strip shows every tab whole while the last one ends inside it; the
// selected tab stands out two pixels at each side.
int TabsWidth(HWND tabStrip) {
  const auto count = SendMessageA(tabStrip, TCM_GETITEMCOUNT, 0, 0);
  RECT last{};
  if (count <= 0 || !SendMessageA(tabStrip, TCM_GETITEMRECT, static_cast<WPARAM>(count - 1),
                                  reinterpret_cast<LPARAM>(&last))) {
    return 0;
  }
  return last.right + 2;
}

// The pictures and the outline, statics without a caption, show no text and
// need no font.
bool ShowsText(const DesignedControl& control) {
  return control.caption != 0 || std::wstring_view(control.kind) != WC_STATICW;
}

// The control's caption, a text of the string table: "" for none.
std::wstring CaptionOf(const DesignedControl& control) {
  return control.caption == 0 ? std::wstring() : std::wstring(LoadText(control.caption));
}

}  // namespace

void frmMain::LoadActionMenu() {
  mnuAction_.reset(LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_ACTION)));
  if (!mnuAction_) throw platform::Win32Failure(GetLastError());
}

void frmMain::OnCreate() {
  dpi_ = GetDpiForWindow(hwnd_);
  if (dpi_ == 0) dpi_ = 96;
  // Each control is created at its design place for this DPI.
  CreateControls();
  fit_ = FitCaptions(dpi_, {});  // where CreateControls put them
  ApplyDpi();
}

void frmMain::OpenAtDesignSize() {
  // The client area starts at its design size, with the room the captions
  // took; the frame is what the window manager gives around it.
  RECT outer{};
  RECT client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  const int width =
      Px(kDesignClientWidth) + fit_.extraClientWidth + (outer.right - outer.left) - client.right;
  const int height = Px(kDesignClientHeight) + (outer.bottom - outer.top) - client.bottom;
  // Create sizes the window for the design already, where it can tell the DPI
  // and the frame beforehand.
  if (width != outer.right - outer.left || height != outer.bottom - outer.top) {
    fitted_ = false;  // Form_Resize fits the controls to the new size as it arrives
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The platform delivers the first Resize only when the window is shown or
  // resized: unless resizing it fitted them to this client area, the controls
  // take their places now, and that Resize finds them there.
  if (!fitted_) Form_Resize();
}

void frmMain::CreateControls() {
  // In the design's order, which is also the order of the keyboard's Tab key.
  // Each control is created at its design place: moving a control afterwards
  // costs as much again as creating it, a list most of all.
  for (const DesignedControl& design : kDesign) {
    // A frame is made before what it holds.
    const HWND parent =
        design.container == 0 ? hwnd_ : ctl_.*kDesign[DesignIndex(design.container)].handle;
    const TwipsRect& place = design.rect;
    const HWND control = CreateWindowExW(design.exStyle, design.kind, CaptionOf(design).c_str(),
                                         WS_CHILD | WS_CLIPSIBLINGS | design.style, Px(place.left),
                                         Px(place.top), Px(place.width), Px(place.height), parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                         Instance(), nullptr);
    if (control == nullptr) throw platform::Win32Failure(GetLastError());
    ctl_.*design.handle = control;
  }

  for (const UINT caption : kTabCaptions) {
    std::wstring text(LoadText(caption));
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text.data();
    SendMessageW(ctl_.TabStrip1, TCM_INSERTITEMW,
                 static_cast<WPARAM>(SendMessageW(ctl_.TabStrip1, TCM_GETITEMCOUNT, 0, 0)),
                 reinterpret_cast<LPARAM>(&tab));
  }

  std::wstring columnCaption(LoadText(kColumnCaption));
  for (const HWND list : {ctl_.lstPath, ctl_.lstClasspath}) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.pszText = columnCaption.data();
    column.cx = Px(kColumnWidth);
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  }
  marks_.Attach(hwnd_, ctl_.lstPath, ctl_.lstClasspath);
  // The lists are not hooked: a fill sends them thousands of messages, and
  // the keys and clicks of theirs the window handles reach it through the
  // message loop (PreTranslateMessage).
  const HWND hooked[] = {ctl_.txtSearch, ctl_.Frame1, ctl_.Frame2, ctl_.TabStrip1};
  static_assert(std::size(hooked) == std::tuple_size_v<decltype(hooks_)>);
  for (std::size_t i = 0; i < hooks_.size(); ++i) Subclass(hooked[i], hooks_[i]);
}

void frmMain::ApplyDpi() {
  ShowPictures();
  // The platform's dialog font, 8 points at this DPI.
  LOGFONTA dialogFont{};
  dialogFont.lfHeight = -MulDiv(8, static_cast<int>(dpi_), 72);
  dialogFont.lfWeight = FW_NORMAL;
  dialogFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(dialogFont.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
  UniqueFont font(CreateFontIndirectA(&dialogFont));
  const HFONT shown = font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  for (const DesignedControl& design : kDesign) {
    if (!ShowsText(design)) continue;
    SendMessageA(ctl_.*design.handle, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
  }
  for (const HWND list : {ctl_.lstPath, ctl_.lstClasspath}) {
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, Px(kColumnWidth));
  }
  // Measured in the new font, before the old one goes.
  PlaceControls(FitCaptions(dpi_, MeasureCaptions()));
  InvalidateRect(hwnd_, nullptr, TRUE);
  // The controls let go of the old font before it is deleted.
  font_ = std::move(font);
}

void frmMain::ShowPictures() {
  // Everything is drawn for the DPI before any control lets go of its old
  // picture, so that a failure leaves the window as it was.
  UniqueImageList images = MakeImageList1(dpi_);
  UniqueBitmap system = LoadPicture(IDB_SYSTEM, kListPictureSize, dpi_);
  UniqueBitmap user = LoadPicture(IDB_USER, kListPictureSize, dpi_);
  UniqueBitmap sort = LoadPicture(IDB_SORT, kSortPictureSize, dpi_);
  UniqueBitmap sorted = LoadPicture(IDB_SORTED, kSortPictureSize, dpi_);
  UniqueIcon binoculars = LoadIconPicture(IDI_BINOCULARS, kSearchPictureSize, dpi_);
  UniqueIcon icon = LoadWindowIcon(SM_CXICON, dpi_);
  UniqueIcon smallIcon = LoadWindowIcon(SM_CXSMICON, dpi_);

  // The small image list's height sets the height of the lists' rows.
  for (const HWND list : {ctl_.lstPath, ctl_.lstClasspath}) {
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.get()));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images.get()));
  }
  SendMessageA(ctl_.Image1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(system.get()));
  SendMessageA(ctl_.Image2, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(user.get()));
  SendMessageA(ctl_.imgSearch, STM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(binoculars.get()));
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  // The old pictures go when this ends, after the controls have let go of them.
  std::swap(pics_.ImageList1, images);
  std::swap(pics_.system, system);
  std::swap(pics_.user, user);
  std::swap(pics_.sort, sort);
  std::swap(pics_.sorted, sorted);
  std::swap(pics_.binoculars, binoculars);
  std::swap(pics_.icon, icon);
  std::swap(pics_.smallIcon, smallIcon);
  SetSortPicture(sortPicture_);
}

std::vector<CaptionNeed> frmMain::MeasureCaptions() const {
  std::vector<CaptionNeed> needs;
  const UniqueDc measuring(CreateCompatibleDC(nullptr));
  for (const HWND control : {ctl_.Label3, ctl_.Frame1, ctl_.Label2, ctl_.labUser, ctl_.cmdSave,
                             ctl_.cmdView, ctl_.cmdClose}) {
    needs.push_back(CaptionNeed{GetDlgCtrlID(control), CaptionWidth(measuring.get(), control)});
  }
  needs.push_back(CaptionNeed{IDC_TABSTRIP1, TabsWidth(ctl_.TabStrip1)});
  return needs;
}

void frmMain::PlaceControls(const FittedDesign& fitted) {
  // A control whose place did not change stays where it stands: moving it
  // costs as much as when it did. What Form_Resize places, it places anew
  // after every fitting.
  const FittedDesign before = std::exchange(fit_, fitted);
  for (std::size_t i = 0; i < kDesign.size(); ++i) {
    const PixelRect& place = fitted.places[i];
    if (place == before.places[i]) continue;
    fitted_ = false;
    SetWindowPos(ctl_.*kDesign[i].handle, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void frmMain::RefitCaptions() {
  const FittedDesign fitted = FitCaptions(dpi_, MeasureCaptions());
  if (fitted == fit_) return;
  PlaceControls(fitted);
  Form_Resize();
}

void frmMain::OnGetMinMaxInfo(MINMAXINFO& info) const {
  info.ptMinTrackSize.x = Px(kMinOuterWidth);
  info.ptMinTrackSize.y = Px(kMinOuterHeight);
}

void frmMain::OnDpiChanged(UINT dpi, const RECT& suggested) {
  // The system scales the window by the DPI; the room the captions take
  // follows the fonts, so the window widens by what that scaling misses.
  const int scaledExtra =
      MulDiv(fit_.extraClientWidth, static_cast<int>(dpi), static_cast<int>(dpi_));
  dpi_ = dpi;
  ApplyDpi();
  const int widen = std::max(fit_.extraClientWidth - scaledExtra, 0);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
               suggested.right - suggested.left + widen, suggested.bottom - suggested.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
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

}  // namespace velmora::window
