#pragma once

namespace core {

// The recent-text strip's font size governs the text size; the strip's height and width, the
// top bar's height and the text area's font size move in step with it.
struct TextSizes {
    int stripPoints = 12;
    int stripHeight = 25;
    int stripWidth = 533;
    int topBarHeight = 89;
    int memoPoints = 14;
};

inline constexpr int kLargestStepFromPoints = 40;   // "大" changes nothing from here up
inline constexpr int kSmallestStepFromPoints = 12;  // "小" changes nothing from here down

// One step of 2 points larger; no change at a strip size of 40 points or more.
TextSizes Larger(TextSizes sizes);

// One step of 2 points smaller; no change at a strip size of 12 points or less.
TextSizes Smaller(TextSizes sizes);

// The layout's sizes moved to a stored strip size s: per point, 1 px of strip height, 10 px of
// strip width, 1 px of top-bar height and 1 point of text-area size. A stored size need not be
// even or within the steps' limits; sizes that would leave the int range stop at its ends.
TextSizes FromStoredStripSize(int stripPoints);

// Whether a stored strip size leaves a window that can be used: from 1 point up to an inch
// (72 points). Beyond that the strip and the top bar would leave the text area of the laid-out
// window hardly a line, or none at all, and the steps would take dozens of presses to undo; at 0
// or less the strip and the top bar with all its controls vanish. A damaged file's value outside
// this range is taken as missing.
inline constexpr int kSmallestStoredStripPoints = 1;
inline constexpr int kLargestStoredStripPoints = 72;
bool IsUsableStoredStripSize(int stripPoints);

}  // namespace core
