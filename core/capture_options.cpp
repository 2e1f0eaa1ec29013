#include "core/capture_options.h"

#include "core/settings.h"
#include "core/settings_keys.h"
#include "core/settings_rules.h"

namespace framlet {

CaptureOptions ReadCaptureOptions() {
  CaptureOptions options;
  options.captureReview = settings::ReadFlag(keys::kCaptureReview);
  options.autoSave = settings::ReadFlag(keys::kAutoSave);
  options.jpegQuality = LeadingInt(settings::ReadText(keys::kJpegQuality));
  options.captureInterval = LeadingInt(settings::ReadText(keys::kCaptureTime));
  return options;
}

}  // namespace framlet
