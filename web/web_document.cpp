#include "web/web_document.h"
