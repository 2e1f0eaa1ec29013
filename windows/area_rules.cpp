#include "windows/area_rules.h"
