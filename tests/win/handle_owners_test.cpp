// Owners of the handles the capture engine holds: a COM reference released
// exactly once, a created DC deleted, a directory search closed, a memory
// lock and the clipboard given back. None of them can be copied, so a second
// release of one handle does not compile.
#include <gtest/gtest.h>

#include <type_traits>

#include "ui/com_ptr.h"
#include "ui/gdi.h"

namespace {

using framlet::ui::ClipboardSession;
using framlet::ui::ComPtr;
using framlet::ui::CreatedDC;
using framlet::ui::FindHandle;
using framlet::ui::GlobalLockGuard;

static_assert(!std::is_copy_constructible_v<ComPtr<IUnknown>> && !std::is_copy_assignable_v<ComPtr<IUnknown>>);
static_assert(std::is_nothrow_move_constructible_v<ComPtr<IUnknown>>);
static_assert(!std::is_copy_constructible_v<CreatedDC> && !std::is_copy_assignable_v<CreatedDC>);
static_assert(!std::is_copy_constructible_v<FindHandle> && !std::is_copy_assignable_v<FindHandle>);
static_assert(!std::is_copy_constructible_v<GlobalLockGuard> && !std::is_move_constructible_v<GlobalLockGuard>);
static_assert(!std::is_copy_constructible_v<ClipboardSession> && !std::is_move_constructible_v<ClipboardSession>);

// An object that counts its references.
class Counted : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  long refs = 1;
};

HRESULT HandOut(Counted* object, IUnknown** out) {
  object->AddRef();
  *out = object;
  return S_OK;
}

TEST(HandleOwners, AComReferenceIsReleasedExactlyOnceWhereverItMoves) {
  Counted object;
  {
    ComPtr<IUnknown> first(&object);  // adopts the creator's reference
    ComPtr<IUnknown> second(std::move(first));
    EXPECT_FALSE(first);
    ComPtr<IUnknown> third;
    third = std::move(second);
    third = std::move(third);  // moving onto itself keeps the reference
    EXPECT_EQ(object.refs, 1);
    EXPECT_EQ(third.Get(), &object);
  }
  EXPECT_EQ(object.refs, 0);

  object.refs = 0;
  ComPtr<IUnknown> out;
  ASSERT_EQ(HandOut(&object, out.Put()), S_OK);
  EXPECT_EQ(object.refs, 1);
  ASSERT_EQ(HandOut(&object, out.Put()), S_OK) << "Put gives the old reference back first";
  EXPECT_EQ(object.refs, 1);
  IUnknown* kept = out.Detach();
  out.Reset();
  EXPECT_EQ(object.refs, 1) << "a detached reference is the caller's";
  kept->Release();
  EXPECT_EQ(object.refs, 0);
}

TEST(HandleOwners, CreatedDcAndDirectorySearchAreClosed) {
  HDC display = nullptr;
  {
    const CreatedDC dc(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    ASSERT_TRUE(dc);
    display = dc;
    EXPECT_EQ(GetObjectType(display), static_cast<DWORD>(OBJ_DC));
  }
  EXPECT_EQ(GetObjectType(display), 0u) << "the display DC was deleted";

  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  WIN32_FIND_DATAA data;
  HANDLE search = INVALID_HANDLE_VALUE;
  {
    const FindHandle find(FindFirstFileA((std::string(windows) + "\\*").c_str(), &data));
    ASSERT_TRUE(find);
    search = find;
  }
  EXPECT_FALSE(FindNextFileA(search, &data)) << "the search was closed";
  EXPECT_FALSE(FindHandle(INVALID_HANDLE_VALUE)) << "a failed search owns nothing";
}

TEST(HandleOwners, MemoryLockAndClipboardAreGivenBack) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 64);
  ASSERT_NE(memory, nullptr);
  {
    const GlobalLockGuard outer(memory);
    const GlobalLockGuard inner(memory);
    ASSERT_TRUE(outer);
    EXPECT_EQ(outer.Get(), inner.Get());
    EXPECT_EQ(GlobalFlags(memory) & GMEM_LOCKCOUNT, 2u);
  }
  EXPECT_EQ(GlobalFlags(memory) & GMEM_LOCKCOUNT, 0u);
  EXPECT_FALSE(GlobalLockGuard(nullptr));
  GlobalFree(memory);

  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    const ClipboardSession clipboard(window);
    ASSERT_TRUE(clipboard);
    EXPECT_EQ(GetOpenClipboardWindow(), window);
  }
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "the clipboard was closed";
  DestroyWindow(window);
}

}  // namespace
