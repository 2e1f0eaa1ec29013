#include "capture/scroll_stitch.h"
