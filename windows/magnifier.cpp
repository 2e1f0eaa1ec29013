#include "windows/magnifier.h"
