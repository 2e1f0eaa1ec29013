#include "windows/magnifier_rules.h"
