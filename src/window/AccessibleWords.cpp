#include "window/AccessibleWords.h"

#include <windows.h>
// The annotation's GUIDs are defined in this one file, rather than taken from
// liboleacc, whose functions would bring oleacc.dll into the import table.
#include <initguid.h>
#include <oleacc.h>

#include <atomic>
#include <exception>
#include <string>
#include <utility>

#include "window/Owners.h"

namespace velmora::window {
namespace {

using AllocString = decltype(&::SysAllocString);

// Answers a list item's description with its row's words. The services keep
// it as long as the annotation stands; Forget cuts it off the marks first.
class DescriptionServer final : public IAccPropServer {
 public:
  DescriptionServer(const EntryMarks& marks, UniqueCom<IAccPropServices> services,
                    AllocString allocString)
      : marks_(&marks), services_(std::move(services)), allocString_(allocString) {}
  DescriptionServer(const DescriptionServer&) = delete;
  DescriptionServer& operator=(const DescriptionServer&) = delete;

  void Forget() { marks_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(id, IID_IUnknown) && !IsEqualIID(id, IID_IAccPropServer)) {
      return E_NOINTERFACE;
    }
    *object = static_cast<IAccPropServer*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetPropValue(const BYTE* identity, DWORD length, MSAAPROPID property,
                                         VARIANT* value, BOOL* has) override {
    if (value == nullptr || has == nullptr) return E_POINTER;
    value->vt = VT_EMPTY;
    *has = FALSE;
    if (marks_ == nullptr || !IsEqualGUID(property, PROPID_ACC_DESCRIPTION)) return S_OK;
    HWND list = nullptr;
    DWORD object = 0;
    DWORD child = 0;
    if (FAILED(services_->DecomposeHwndIdentityString(identity, length, &list, &object, &child)) ||
        object != static_cast<DWORD>(OBJID_CLIENT) || child == CHILDID_SELF) {
      return S_OK;  // the list itself keeps its own description
    }
    // Nothing throws into the reader's call.
    try {
      const std::wstring words = marks_->Tip(list, static_cast<int>(child) - 1);
      if (words.empty()) return S_OK;
      value->bstrVal = allocString_(words.c_str());
      if (value->bstrVal == nullptr) return E_OUTOFMEMORY;
      value->vt = VT_BSTR;
      *has = TRUE;
      return S_OK;
    } catch (...) {
      return E_FAIL;
    }
  }

 private:
  ~DescriptionServer() = default;

  std::atomic<ULONG> references_{1};
  const EntryMarks* marks_;
  UniqueCom<IAccPropServices> services_;
  AllocString allocString_;
};

// A function of a library loaded here, or null.
template <class Function>
Function Find(const UniqueModule& library, const char* name) {
  return library ? reinterpret_cast<Function>(
                       reinterpret_cast<void*>(GetProcAddress(library.get(), name)))
                 : nullptr;
}

}  // namespace

// Declared in the order they are made; they go in the reverse one.
struct AccessibleWords::Annotation {
  UniqueModule ole32{LoadLibraryW(L"ole32.dll")};
  UniqueModule oleaut32{LoadLibraryW(L"oleaut32.dll")};
  // The thread's COM apartment, when this started it.
  struct Apartment {
    decltype(&::CoUninitialize) leave = nullptr;
    ~Apartment() {
      if (leave != nullptr) leave();
    }
  } apartment;
  UniqueCom<IAccPropServices> services;
  UniqueCom<DescriptionServer> server;
  HWND lists[2] = {nullptr, nullptr};

  // False when the platform keeps no annotations, or not for these lists.
  bool Make(const EntryMarks& marks) {
    const auto enter = Find<decltype(&::CoInitializeEx)>(ole32, "CoInitializeEx");
    const auto create = Find<decltype(&::CoCreateInstance)>(ole32, "CoCreateInstance");
    const auto allocString = Find<AllocString>(oleaut32, "SysAllocString");
    if (enter == nullptr || create == nullptr || allocString == nullptr) return false;
    if (SUCCEEDED(enter(nullptr, COINIT_APARTMENTTHREADED))) {
      apartment.leave = Find<decltype(&::CoUninitialize)>(ole32, "CoUninitialize");
    }
    IAccPropServices* made = nullptr;
    if (FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                      reinterpret_cast<void**>(&made)))) {
      return false;
    }
    services.reset(made);
    made->AddRef();  // the server's own reference
    server.reset(new DescriptionServer(marks, UniqueCom<IAccPropServices>(made), allocString));
    const MSAAPROPID described[] = {PROPID_ACC_DESCRIPTION};
    for (const HWND list : lists) {
      if (FAILED(services->SetHwndPropServer(list, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                             described, 1, server.get(), ANNO_CONTAINER))) {
        return false;
      }
    }
    return true;
  }

  ~Annotation() {
    if (!services) return;
    const MSAAPROPID described[] = {PROPID_ACC_DESCRIPTION};
    for (const HWND list : lists) {
      services->ClearHwndProps(list, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, described, 1);
    }
    // A reader may still hold the server: it answers no more.
    if (server) server->Forget();
  }
};

AccessibleWords::AccessibleWords(const EntryMarks& marks) : marks_(marks) {}

AccessibleWords::~AccessibleWords() {
  Stop();
}

void AccessibleWords::StartIfReaderRuns(HWND pathList, HWND classpathList) {
  BOOL reader = FALSE;
  if (state_ != State::kNotMade || !SystemParametersInfoW(SPI_GETSCREENREADER, 0, &reader, 0) ||
      !reader) {
    return;
  }
  auto annotation = std::make_unique<Annotation>();
  annotation->lists[0] = pathList;
  annotation->lists[1] = classpathList;
  if (annotation->Make(marks_)) {
    annotation_ = std::move(annotation);
    state_ = State::kMade;
  } else {
    state_ = State::kRefused;
  }
}

void AccessibleWords::Stop() {
  annotation_.reset();
}

}  // namespace velmora::window
