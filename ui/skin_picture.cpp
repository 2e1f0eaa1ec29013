#include "ui/skin_picture.h"

using framlet::ui::MemoryDC;
using framlet::ui::SelectGuard;

bool CSkinPicture::Attach(HWND dialog, int id, UINT pictureId) {
  if (!TakeOver(dialog, id)) return false;
  picture_.Load(pictureId);
  SetWindowTextW(hwnd_, L"");
  InvalidateRect(hwnd_, nullptr, TRUE);
  return true;
}

void CSkinPicture::SetPicture(UINT pictureId) {
  picture_.Load(pictureId);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CSkinPicture::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  MemoryDC memory(dc);
  framlet::ui::Bitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
  SelectGuard select(memory, canvas);
  framlet::ui::DrawParentBackground(hwnd_, memory);
  if (picture_) picture_.DrawKeyed(memory, 0, 0, client.right, client.bottom);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}
