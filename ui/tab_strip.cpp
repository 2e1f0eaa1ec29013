#include "ui/tab_strip.h"
