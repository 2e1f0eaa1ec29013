#include "windows/capture_preview_dlg.h"
