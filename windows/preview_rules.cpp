#include "windows/preview_rules.h"
