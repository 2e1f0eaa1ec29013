#pragma once
// Places of the update window's controls on its three pages, in client
// pixels of the 503 x 348 window. A control missing from a page is hidden.
namespace framlet::update {

enum class UpdatePage { Selection, Install, Completion };

struct ControlPlace {
  int id;
  int left, top, right, bottom;
};

inline constexpr int kWindowWidth = 503;
inline constexpr int kWindowHeight = 348;

// The controls the pages place (every other control is hidden).
inline constexpr int kPlacedIds[] = {4002, 4003, 4004, 4005, 4006, 4013, 1000, 4007, 4008, 4012,
                                     4009, 4010, 1,    1001, 1002, 4014, 1003, 2,    4011};

inline constexpr ControlPlace kSelectionPage[] = {
    {4002, 0, 0, 497, 54},     {4003, 33, 4, 173, 24},     {4004, 33, 25, 394, 53},
    {4005, 0, 54, 497, 55},    {4006, 20, 65, 260, 80},    {4013, 20, 80, 270, 148},
    {1000, 280, 60, 480, 148}, {4007, 285, 75, 475, 143},  {4008, 20, 155, 75, 170},
    {4012, 20, 170, 480, 260}, {4009, 20, 265, 160, 285},  {4010, 165, 270, 480, 290},
    {1, 340, 280, 480, 305},
};

// The log box (4014) is placed but shown only through the "자세히" buttons.
inline constexpr ControlPlace kInstallPage[] = {
    {4002, 0, 0, 497, 54},     {4003, 33, 4, 173, 24},    {4004, 33, 25, 394, 53},
    {4005, 0, 54, 497, 55},    {4006, 20, 65, 260, 80},   {4008, 110, 65, 410, 80},
    {4009, 20, 265, 160, 285}, {4010, 165, 270, 480, 290}, {1, 340, 280, 480, 305},
    {1001, 15, 90, 480, 105},  {1002, 20, 110, 110, 130}, {4014, 15, 150, 480, 240},
};

inline constexpr ControlPlace kCompletionPage[] = {
    {4002, 161, 0, 498, 273}, {4003, 200, 15, 450, 35},   {4004, 200, 50, 450, 105},
    {4005, 160, 273, 497, 274}, {4014, 190, 140, 440, 250}, {1003, 190, 105, 255, 125},
    {2, 405, 285, 475, 305},  {4011, 0, -1, 161, 275},
};

}  // namespace framlet::update
