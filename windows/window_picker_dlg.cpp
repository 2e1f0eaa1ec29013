#include "windows/window_picker_dlg.h"
