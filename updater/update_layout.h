#pragma once
// Places of the update window's controls on its three pages, in client
// pixels of the 503 x 348 window. A control missing from a page is hidden.
#include <windows.h>

#include "resource.h"

namespace framlet::update {

enum class UpdatePage { Selection, Install, Completion };

struct ControlPlace {
  int id;
  int left, top, right, bottom;
};

inline constexpr int kWindowWidth = 503;
inline constexpr int kWindowHeight = 348;

// The controls the pages place (every other control is hidden).
inline constexpr int kPlacedIds[] = {
    IDC_UP_HEADER, IDC_UP_TITLE,      IDC_UP_DESCRIPTION, IDC_UP_HEADER_LINE, IDC_UP_SECTION,  IDC_UP_TREE,
    IDC_UP_INFO_GROUP, IDC_UP_INFO,   IDC_UP_TERMS_LABEL, IDC_UP_TERMS,       IDC_UP_FOOTER,   IDC_UP_FOOTER_LINE,
    IDOK,          IDC_UP_PROGRESS,   IDC_UP_DETAILS,     IDC_UP_LOG,         IDC_UP_DETAILS_DONE, IDCANCEL,
    IDC_UP_SIDE};

inline constexpr ControlPlace kSelectionPage[] = {
    {IDC_UP_HEADER, 0, 0, 497, 54},          {IDC_UP_TITLE, 33, 4, 173, 24},
    {IDC_UP_DESCRIPTION, 33, 25, 394, 53},   {IDC_UP_HEADER_LINE, 0, 54, 497, 55},
    {IDC_UP_SECTION, 20, 65, 260, 80},       {IDC_UP_TREE, 20, 80, 270, 148},
    {IDC_UP_INFO_GROUP, 280, 60, 480, 148},  {IDC_UP_INFO, 285, 75, 475, 143},
    {IDC_UP_TERMS_LABEL, 20, 155, 75, 170},  {IDC_UP_TERMS, 20, 170, 480, 260},
    {IDC_UP_FOOTER, 20, 265, 160, 285},      {IDC_UP_FOOTER_LINE, 165, 270, 480, 290},
    {IDOK, 340, 280, 480, 305},
};

// The log box is placed but shown only through the "자세히" buttons.
inline constexpr ControlPlace kInstallPage[] = {
    {IDC_UP_HEADER, 0, 0, 497, 54},          {IDC_UP_TITLE, 33, 4, 173, 24},
    {IDC_UP_DESCRIPTION, 33, 25, 394, 53},   {IDC_UP_HEADER_LINE, 0, 54, 497, 55},
    {IDC_UP_SECTION, 20, 65, 260, 80},       {IDC_UP_TERMS_LABEL, 110, 65, 410, 80},
    {IDC_UP_FOOTER, 20, 265, 160, 285},      {IDC_UP_FOOTER_LINE, 165, 270, 480, 290},
    {IDOK, 340, 280, 480, 305},              {IDC_UP_PROGRESS, 15, 90, 480, 105},
    {IDC_UP_DETAILS, 20, 110, 110, 130},     {IDC_UP_LOG, 15, 150, 480, 240},
};

inline constexpr ControlPlace kCompletionPage[] = {
    {IDC_UP_HEADER, 161, 0, 498, 273},       {IDC_UP_TITLE, 200, 15, 450, 35},
    {IDC_UP_DESCRIPTION, 200, 50, 450, 105}, {IDC_UP_HEADER_LINE, 160, 273, 497, 274},
    {IDC_UP_LOG, 190, 140, 440, 250},        {IDC_UP_DETAILS_DONE, 190, 105, 255, 125},
    {IDCANCEL, 405, 285, 475, 305},          {IDC_UP_SIDE, 0, -1, 161, 275},
};

// The button that holds the keyboard focus on each page: a shown, enabled one
// ("확인" is disabled while installing and hidden once done).
constexpr int FocusButtonOf(UpdatePage page) {
  return page == UpdatePage::Selection ? IDOK : page == UpdatePage::Install ? IDC_UP_DETAILS : IDCANCEL;
}

}  // namespace framlet::update
