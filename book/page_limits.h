#pragma once

namespace pimoko {

// A book has at most this many pages, numbered from 1; link and goto pages lie in
// 1..kMaxPages, 0 meaning none.
constexpr int kMaxPages = 300;

} // namespace pimoko
