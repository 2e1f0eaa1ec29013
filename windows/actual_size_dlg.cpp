#include "windows/actual_size_dlg.h"
