#include "windows/region_select_dlg.h"
