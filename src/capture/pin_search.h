#pragma once

namespace zv {

namespace media {
class Filter;
class Pin;
}  // namespace media

// The filter's first output pin in pin order, or null. The scanner's first output pin is its
// capture pin: the preview format is chosen through it.
media::Pin* FindFirstOutputPin(const media::Filter& filter);

// The filter's first pin whose category property says still, or null. Pins without the
// property are skipped.
media::Pin* FindStillPin(const media::Filter& filter);

}  // namespace zv
