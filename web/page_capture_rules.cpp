#include "web/page_capture_rules.h"
