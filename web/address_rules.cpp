#include "web/address_rules.h"
