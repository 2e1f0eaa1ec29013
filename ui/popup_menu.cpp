#include "ui/popup_menu.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/picture.h"

namespace framlet::ui {
namespace {

constexpr COLORREF kMenuBack = RGB(252, 252, 252);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kGreyText = RGB(150, 150, 150);
constexpr int kRuleHeight = 7;
constexpr int kTextGap = 8;      // between the icon strip and the text
constexpr int kRightSpace = 16;  // after the text

COLORREF Colour(std::uint32_t value) {
  return static_cast<COLORREF>(value & 0x00FFFFFF);
}

COLORREF Mix(COLORREF a, COLORREF b, int percentOfB) {
  auto mix = [&](int x, int y) { return static_cast<BYTE>(x + (y - x) * percentOfB / 100); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush);
}

// A pale grey copy of a picture for a greyed item; its see-through key stays.
Bitmap GreyedCopy(HBITMAP picture) {
  const SIZE size = BitmapSize(picture);
  if (size.cx <= 0 || size.cy <= 0) return Bitmap();
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  WindowDC screen(nullptr);
  std::vector<RGBQUAD> pixels(static_cast<size_t>(size.cx) * size.cy);
  if (!GetDIBits(screen, picture, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS)) return Bitmap();
  for (RGBQUAD& p : pixels) {
    if (RGB(p.rgbRed, p.rgbGreen, p.rgbBlue) == kColourKey) continue;
    const int light = (p.rgbRed * 30 + p.rgbGreen * 59 + p.rgbBlue * 11) / 100;
    p.rgbRed = p.rgbGreen = p.rgbBlue = static_cast<BYTE>(150 + light * 90 / 255);
  }
  Bitmap grey(CreateCompatibleBitmap(screen, size.cx, size.cy));
  if (grey) SetDIBits(screen, grey, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
  return grey;
}

// A two-colour gradient over `rect`, left to right or top to bottom; a flat
// fill of the far colour when gradients are off.
void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical, bool gradient) {
  if (!gradient) {
    FillSolid(dc, rect, to);
    return;
  }
  TRIVERTEX v[2] = {};
  v[0].x = rect.left;
  v[0].y = rect.top;
  v[0].Red = static_cast<COLOR16>(GetRValue(from) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(from) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(from) << 8);
  v[1].x = rect.right;
  v[1].y = rect.bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(to) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(to) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(to) << 8);
  GRADIENT_RECT r = {0, 1};
  GradientFill(dc, v, 2, &r, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

}  // namespace

struct PopupMenu::State {
  Menu menu;
  std::vector<PopupMenuItem> items;
  std::vector<Bitmap> icons;  // one per item, empty where there is none
  PopupMenuStyle style;
  Font font;

  int StripWidth() const { return style.iconSize + 8; }

  const PopupMenuItem* ItemOf(ULONG_PTR data, size_t* index) const {
    for (size_t i = 0; i < items.size(); ++i) {
      if (reinterpret_cast<ULONG_PTR>(&items[i]) == data) {
        *index = i;
        return &items[i];
      }
    }
    return nullptr;
  }

  bool Measure(MEASUREITEMSTRUCT* measure) const {
    size_t index = 0;
    const PopupMenuItem* item = ItemOf(measure->itemData, &index);
    if (!item) return false;
    if (item->rule) {
      measure->itemWidth = static_cast<UINT>(style.minWidth);
      measure->itemHeight = kRuleHeight;
      return true;
    }
    WindowDC screen(nullptr);
    HGDIOBJ old =
        SelectObject(screen, font.Get() ? static_cast<HGDIOBJ>(font.Get()) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE text = {0, 0};
    GetTextExtentPoint32W(screen, item->text.c_str(), static_cast<int>(item->text.size()), &text);
    SelectObject(screen, old);
    const int width = StripWidth() + kTextGap + text.cx + kRightSpace;
    measure->itemWidth = static_cast<UINT>(std::max(style.minWidth, width));
    measure->itemHeight = static_cast<UINT>(std::max(style.iconSize + 6, static_cast<int>(text.cy) + 6));
    return true;
  }

  bool Draw(const DRAWITEMSTRUCT* draw) const {
    size_t index = 0;
    const PopupMenuItem* item = ItemOf(draw->itemData, &index);
    if (!item) return false;
    HDC dc = draw->hDC;
    const RECT& rc = draw->rcItem;
    const COLORREF strip = Colour(style.stripColour);
    const COLORREF highlight = Colour(style.highlightColour);
    FillSolid(dc, rc, kMenuBack);
    RECT stripRect = {rc.left, rc.top, rc.left + StripWidth(), rc.bottom};
    FillGradient(dc, stripRect, kMenuBack, strip, false, style.gradient);
    if (item->rule) {
      RECT line = {stripRect.right + 4, rc.top + (rc.bottom - rc.top) / 2, rc.right - 4, 0};
      line.bottom = line.top + 1;
      FillSolid(dc, line, strip);
      return true;
    }
    const bool disabled = (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    if ((draw->itemState & ODS_SELECTED) && !disabled) {
      RECT box = rc;
      InflateRect(&box, -1, 0);
      FillSolid(dc, box, Mix(highlight, RGB(0, 0, 0), 30));
      InflateRect(&box, -1, -1);
      FillGradient(dc, box, Mix(highlight, RGB(255, 255, 255), 70), highlight, true, style.gradient);
    }
    const int iconX = rc.left + 4;
    const int iconY = rc.top + (rc.bottom - rc.top - style.iconSize) / 2;
    if (draw->itemState & ODS_CHECKED) {
      RECT box = {iconX - 2, iconY - 2, iconX + style.iconSize + 2, iconY + style.iconSize + 2};
      FillSolid(dc, box, Mix(highlight, RGB(0, 0, 0), 40));
      InflateRect(&box, -1, -1);
      FillSolid(dc, box, Mix(highlight, RGB(255, 255, 255), 60));
      if (!icons[index]) {
        // A check mark where the item has no icon of its own.
        Pen pen(CreatePen(PS_SOLID, 2, disabled ? kGreyText : kText));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        const int s = style.iconSize;
        POINT mark[3] = {{iconX + s / 4, iconY + s / 2},
                         {iconX + s / 2 - 1, iconY + s * 3 / 4 - 1},
                         {iconX + s * 3 / 4 + 1, iconY + s / 4}};
        Polyline(dc, mark, 3);
        SelectObject(dc, oldPen);
      }
    }
    if (icons[index]) {
      if (disabled) {
        Bitmap grey = GreyedCopy(icons[index]);
        DrawBitmapKeyed(dc, grey ? grey.Get() : icons[index].Get(), iconX, iconY, style.iconSize, style.iconSize);
      } else {
        DrawBitmapKeyed(dc, icons[index], iconX, iconY, style.iconSize, style.iconSize);
      }
    }
    HGDIOBJ oldFont =
        SelectObject(dc, font.Get() ? static_cast<HGDIOBJ>(font.Get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? kGreyText : kText);
    RECT textRect = {stripRect.right + kTextGap, rc.top, rc.right - 4, rc.bottom};
    DrawTextW(dc, item->text.c_str(), static_cast<int>(item->text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
    return true;
  }

  // Answers the owner's measuring and drawing messages for this menu while it
  // is shown; everything else goes on to the owner.
  static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const State* self = reinterpret_cast<const State*>(data);
    if (message == WM_MEASUREITEM && wParam == 0) {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType == ODT_MENU && self->Measure(measure)) return TRUE;
    } else if (message == WM_DRAWITEM && wParam == 0) {
      auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType == ODT_MENU && self->Draw(draw)) return TRUE;
    }
    return DefSubclassProc(window, message, wParam, lParam);
  }
};

PopupMenu::PopupMenu(PopupMenu&&) noexcept = default;
PopupMenu& PopupMenu::operator=(PopupMenu&&) noexcept = default;
PopupMenu::~PopupMenu() = default;

HMENU PopupMenu::Handle() const {
  return state_ ? state_->menu.Get() : nullptr;
}

const std::vector<PopupMenuItem>& PopupMenu::Items() const {
  static const std::vector<PopupMenuItem> kNone;
  return state_ ? state_->items : kNone;
}

PopupMenu PopupMenu::Build(const std::vector<PopupMenuItem>& items, const PopupMenuStyle& style) {
  auto state = std::make_unique<State>();
  state->style = style;
  state->items = items;  // never resized again: item addresses are the menu's item data
  state->menu.Reset(CreatePopupMenu());
  if (!state->menu) return PopupMenu();

  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    state->font.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
  }

  state->icons.resize(state->items.size());
  for (size_t i = 0; i < state->items.size(); ++i) {
    PopupMenuItem& item = state->items[i];
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.wID = item.id;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    if (item.rule) {
      info.fType = MFT_SEPARATOR | MFT_OWNERDRAW;
    } else {
      info.fMask |= MIIM_STATE | MIIM_STRING;
      info.fType = MFT_OWNERDRAW | (item.menuBreak ? MFT_MENUBREAK : 0u);
      info.fState = (item.checked ? MFS_CHECKED : 0u) | (item.disabled ? MFS_DISABLED : 0u);
      info.dwTypeData = const_cast<wchar_t*>(item.text.c_str());
      info.cch = static_cast<UINT>(item.text.size());
      if (item.iconId != 0) {
        state->icons[i].Reset(static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(item.iconId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
        if (state->icons[i]) {
          info.fMask |= MIIM_BITMAP;
          info.hbmpItem = state->icons[i].Get();
        }
      }
    }
    if (!InsertMenuItemW(state->menu, static_cast<UINT>(i), TRUE, &info)) return PopupMenu();
  }
  PopupMenu menu;
  menu.state_ = std::move(state);
  return menu;
}

UINT PopupMenu::Track(HWND owner, int x, int y, UINT flags) const {
  if (!state_ || !state_->menu || !IsWindow(owner)) return 0;
  const UINT_PTR subclassId = reinterpret_cast<UINT_PTR>(state_.get());
  const bool subclassed =
      SetWindowSubclass(owner, &State::OwnerProc, subclassId, reinterpret_cast<DWORD_PTR>(state_.get())) != FALSE;
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(state_->menu, flags | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  // Lets the menu close properly when it was opened from a notification icon.
  PostMessageW(owner, WM_NULL, 0, 0);
  if (subclassed) RemoveWindowSubclass(owner, &State::OwnerProc, subclassId);
  if (chosen != 0 && !(flags & TPM_RETURNCMD)) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return chosen;
}

UINT TrackPopupItemsAtCursor(HWND owner, const std::vector<PopupMenuItem>& items, const PopupMenuStyle& style) {
  POINT cursor = {0, 0};
  GetCursorPos(&cursor);
  PopupMenu menu = PopupMenu::Build(items, style);
  return menu.Track(owner, cursor.x, cursor.y, TPM_RIGHTBUTTON | TPM_RETURNCMD);
}

}  // namespace framlet::ui
