// Naming and writers of the capture engine (being written).
#include "capture/capture_engine.h"

int CCaptureEngine::ChooseSaveFile(std::string&) { return 0; }
std::string CCaptureEngine::NextFreeName(int, const CCapturedImage&) { return {}; }
std::string CCaptureEngine::GrabAndAutoSave(int, int, int, int, int) { return {}; }
std::string CCaptureEngine::SaveViaDialog(const CCapturedImage&, int) { return {}; }
std::string CCaptureEngine::SaveWithLastPath(const CCapturedImage&, int) { return {}; }
std::string CCaptureEngine::SaveCroppedViaDialog(const CCapturedImage&, HWND, int, int, int) { return {}; }
int CCaptureEngine::SaveViaShortDialog(const CCapturedImage&, HWND, int) { return 0; }
int CCaptureEngine::WriteBmpFile(const CCapturedImage&, const std::string&) { return 0; }
int CCaptureEngine::WriteJpegFile(const CCapturedImage&, const std::string&, int) { return 0; }
int CCaptureEngine::WritePngFile(const CCapturedImage&, const std::string&) { return 0; }
int CCaptureEngine::WriteGifFile(const CCapturedImage&, const std::string&) { return 0; }
