#include "ui/ole_session.h"

#include <ole2.h>

namespace framlet::ui {

OleSession::OleSession() : started_(SUCCEEDED(OleInitialize(nullptr))) {}

OleSession::~OleSession() {
  if (started_) OleUninitialize();
  while (!kept_.empty()) kept_.pop_back();
}

}  // namespace framlet::ui
