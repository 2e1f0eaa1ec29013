#include "web/browser_tab_bar.h"
