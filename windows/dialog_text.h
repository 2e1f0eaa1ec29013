#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "windows/option_rules.h"

#include "ui/gdi.h"

// Texts and small helpers shared by the option dialogs and notice windows.
namespace framlet::dialogs {

inline constexpr wchar_t kQualityHint[] = L"높을수록 화질이 좋아짐";
inline constexpr wchar_t kFolderPickerTitle[] = L"파일이 저장될 폴더를 지정하십시오.";
inline constexpr wchar_t kIntervalHint[] = L"1000ms = 1초, 연속 캡쳐 멈춤키 = ESC";
inline constexpr wchar_t kNoticeText[] = L"전체 캡쳐를 종료하실려면 닫기 버튼을 누르세요";

// The dialogs' label font: 12 pixels high, weight 550, default character set, "굴림".
ui::Font MakeControlFont();

// A control's text as a byte string in the system code page (paths, numbers).
std::string ItemTextA(HWND dialog, int id);

// Wide text converted to the system code page, for the A APIs.
std::string ToSystemCodePage(const wchar_t* text);

// Moves each control of a dialog to its place in pixels (client coordinates).
void PlaceControls(HWND dialog, const std::vector<options::ControlPlace>& layout);

}  // namespace framlet::dialogs
