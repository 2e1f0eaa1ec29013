#include "capture/scroll_match.h"
