#include "windows/region_rules.h"
