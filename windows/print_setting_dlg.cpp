#include "windows/print_setting_dlg.h"
