// The program's one window: the lists of PATH and CLASSPATH entries, the tabs
// that choose between them, the search row, the legend and the report buttons.
//
// The window procedure only decodes messages and calls the handlers below,
// which are named after their control and event and can be called as plain
// procedures. Nothing throws out of the window procedure.
#pragma once

#include <windows.h>

#include <array>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "environment/ErrorReport.h"
#include "environment/Registry.h"
#include "platform/Platform.h"
#include "window/AccessibleWords.h"
#include "window/EntryMarks.h"
#include "window/Layout.h"
#include "window/Owners.h"
#include "window/Pictures.h"
#include "window/RowTips.h"
#include "window/TabTips.h"

namespace velmora::window {

// The pictures the controls show, drawn for the window's DPI and drawn anew
// when it changes.
struct Pictures {
  UniqueBitmap system;  // Image1, and image 1 of ImageList1
  UniqueBitmap user;    // Image2, and image 2
  UniqueBitmap sort;    // imgSort while the lists are not sorted (image 3)
  UniqueBitmap sorted;  // imgSort while they are (image 4)
  UniqueIcon binoculars;
  UniqueImageList ImageList1;
  UniqueIcon icon;  // the window's own, in its title bar and task bar
  UniqueIcon smallIcon;
};

// Pictures of ImageList1 by position, as the lists use them (positions 1 to 4).
inline constexpr int kPictureSystem = 1;
inline constexpr int kPictureUser = 2;
inline constexpr int kPictureSort = 3;
inline constexpr int kPictureSorted = 4;
// The overlay pictures that mark an entry, numbered as environment::EntryMark,
// follow the four pictures in ImageList1 (kOverlayCount of them, Pictures.h).

// Posted by the question whether an entry to be opened names a file: wParam
// the opening's number, lParam 1 when it does (EntryActions.cpp). The
// messages of the marks follow WM_APP (EntryMarks.h).
inline constexpr UINT kMessageOpeningAnswered = WM_APP + 3;

// Mouse buttons as MouseUp reports them.
inline constexpr int kButtonLeft = 1;
inline constexpr int kButtonRight = 2;
inline constexpr int kButtonMiddle = 4;

class frmMain {
 public:
  explicit frmMain(const platform::Platform& os);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Creates the window and its controls, runs Form_Load and shows the window
  // with showCommand. Throws platform::Failure when the window or one of its
  // resources cannot be had.
  void Create(HINSTANCE instance, int showCommand);

  [[nodiscard]] HWND Handle() const { return hwnd_; }
  [[nodiscard]] bool IsOpen() const { return hwnd_ != nullptr; }
  [[nodiscard]] const Controls& Ctl() const { return ctl_; }
  [[nodiscard]] UINT Dpi() const { return dpi_; }
  // The tabs' tool tip control; null until the mouse came to the tabs.
  [[nodiscard]] HWND TabTipsHandle() const { return tabTips_.Handle(); }
  // The rows' own tool tip control; null until the mouse came to a list or
  // F1 asked for a row's words.
  [[nodiscard]] HWND RowTipsHandle() const { return rowTips_.Handle(); }
  // Every entry's marks are in: existence answered, PATH's programs resolved.
  [[nodiscard]] bool MarksSettled() const { return marks_.Settled(); }

  // The window's keyboard habits, run on every queued message before it is
  // dispatched; true when the message was used up.
  bool PreTranslateMessage(MSG& message);

  // Start-up.
  void Form_Load();
  void Form_Activate();
  void Form_Resize();

  // Tabs, search and sort.
  void TabStrip1_Click();
  void txtSearch_KeyPress(int& keyAscii);
  void imgSearch_Click();
  void imgSort_Click();

  // Entry actions.
  void lstPath_DblClick();
  void lstClasspath_DblClick();
  void lstPath_MouseUp(int button, float x, float y);
  void lstClasspath_MouseUp(int button, float x, float y);
  void mnuCopy_Click();
  void mnuOpen_Click();
  void cmdClose_Click();
  void cmdSave_Click();
  void cmdView_Click();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

  // A control whose messages pass through ControlProc on their way to the
  // control's own procedure. The control's user data points at its hook.
  struct ControlHook {
    frmMain* form = nullptr;
    WNDPROC original = nullptr;
  };
  void Subclass(HWND control, ControlHook& hook);
  static LRESULT PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

  // Typed message handlers.
  LRESULT OnCreateMessage();
  void OnCreate();
  [[nodiscard]] int OnGetDefId() const;
  [[nodiscard]] LRESULT OnGetDlgCode(HWND control, bool enter, LRESULT code) const;
  int OnSearchChar(int keyAscii);
  void OnListMiddleButtonUp(HWND list, int x, int y);
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnContextMenu(HWND source, POINT screen);
  void OnNcDestroy();

  // Controls and pictures (Controls.cpp).
  void LoadActionMenu();
  void CreateControls();
  void ApplyDpi();
  void ShowPictures();
  void OpenAtDesignSize();
  // Gives every caption room at the window's DPI (Layout.h, FitCaptions).
  [[nodiscard]] std::vector<CaptionNeed> MeasureCaptions() const;
  void PlaceControls(const FittedDesign& fitted);
  // After a caption changed: places the controls anew when it needs other room.
  void RefitCaptions();

  // Runs a handler as the window's message dispatch does: a failure that
  // reaches it is shown in the error box, naming the handler.
  template <class Handler>
  void Trapped(std::string_view procedure, Handler&& handler) {
    (void)environment::Trapped(os_, "frmMain", procedure, handler);
  }

  // Helpers of the handlers.
  [[nodiscard]] environment::VariableDictionary UserValuesOrEmpty() const;
  [[nodiscard]] HWND ShownList() const;
  void OpenEntry(HWND list);
  // An entry on its way to the Explorer, waiting for the answer whether it
  // names a file (EntryActions.cpp).
  struct Opening {
    std::uint64_t number;
    bool fromPath;  // whose handler reports a failure to start it
    std::string application;
    std::string entry;
    std::shared_ptr<environment::ExistenceSweep> question;
  };
  void OnOpeningAnswered(WPARAM number, LPARAM namesFile);
  void StartExplorer(const Opening& opening, bool namesFile);
  void StopOpenings();
  void ShowActionMenu(POINT client);
  void ShowActionMenuAtSelection(HWND list);
  void ListMouseUp(int button, float x, float y);
  void SetSortPicture(int picture);
  [[nodiscard]] SIZE ClientPixels() const;
  // Form_Resize's steps (Resize.cpp).
  void FitToClient();
  void KeepSmallestSize(int width, int height);
  [[nodiscard]] int Px(double twips) const;

  platform::Platform os_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  Controls ctl_;
  Pictures pics_;
  UniqueFont font_;
  FittedDesign fit_{};
  // The search box, the two frames and the tab strip.
  std::array<ControlHook, 4> hooks_;
  UniqueMenu mnuAction_;  // its first popup is the menu "Action"
  int sortPicture_ = kPictureSort;
  // Where Form_Resize stands: a run under way (the smallest size set from
  // within it delivers a run of its own, which hands its failure to the
  // outer run), and whether the lists and frames stand fitted to the client
  // area (until the window is resized or the controls placed anew).
  bool resizing_ = false;
  std::exception_ptr nestedResizeFailure_;
  bool fitted_ = false;
  std::exception_ptr createFailure_;  // why WM_CREATE failed, for Create to pass on
  EntryMarks marks_;
  TabTips tabTips_;
  RowTips rowTips_;
  AccessibleWords accessibleWords_;
  std::vector<Opening> openings_;
  std::uint64_t openingsAsked_ = 0;
};

// Hands one queued message to the window's keyboard habits, the keyboard
// navigation between controls and the window procedures, in that order.
void DeliverMessage(frmMain& form, MSG& message);

// Runs the program's message loop until the window is gone.
int RunMessageLoop(frmMain& form);

}  // namespace velmora::window
