#pragma once

namespace pimoko {

// Cursor ids as books and windows set them: arrow, cross (a link can be chosen), wait
// (a long action), pointing hand (go on).
constexpr int kCursorDefault = 0;
constexpr int kCursorCross = -3;
constexpr int kCursorWait = -11;
constexpr int kCursorHand = -21;

} // namespace pimoko
