#include "windows/area_setting_dlg.h"
