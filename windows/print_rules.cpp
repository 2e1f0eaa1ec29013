#include "windows/print_rules.h"
