#include "web/page_capture.h"
