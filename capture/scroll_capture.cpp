#include "capture/capture_engine.h"
