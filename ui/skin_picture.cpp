#include "ui/skin_picture.h"


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

void CSkinPicture::Draw(HDC canvas, const RECT& client) {
  framlet::ui::DrawParentBackground(hwnd_, canvas);
  if (picture_) picture_.DrawKeyed(canvas, 0, 0, client.right, client.bottom);
}
