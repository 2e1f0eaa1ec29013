#include "windows/image_scroll_view.h"
