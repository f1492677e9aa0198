#pragma once
// Pixels taken from the screen, and screenshots saved as 24-bit BMP files in the test's
// output folder (PELLORY_TEST_OUT). tests/e2e/bmp2png turns a folder of them into PNGs.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "robot/Wait.h"

namespace robot {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool operator==(const Image& other) const {
    return width == other.width && height == other.height && pixels == other.pixels;
  }
};

// The screen area `rect` (screen coordinates) as the user sees it, windows on top
// included. Under Wine's virtual desktop the screen is the desktop window.
std::optional<Image> CaptureScreen(const RECT& rect);
// The window's rectangle on the screen (title bar and frame included).
std::optional<Image> CaptureWindow(HWND window);
// The whole (virtual) screen.
std::optional<Image> CaptureDesktop();

// Captures `window` once it has stopped changing (two equal captures in a row), so that
// a freshly shown window is saved fully painted; after `timeout` the last capture counts.
std::optional<Image> CaptureSettledWindow(HWND window, Duration timeout = Duration{3000});

// `icon` drawn at width x height over a plain background (0x00RRGGBB), as a static
// control draws it.
std::optional<Image> RenderIcon(HICON icon, int width, int height, uint32_t background);

// Mean absolute difference per colour channel (0..255); a large value for different sizes.
double MeanDifference(const Image& a, const Image& b);

bool SaveBmp(const Image& image, const std::wstring& path);

// PELLORY_TEST_OUT\fileName; just fileName (the current folder) when that is not set.
std::wstring TestOutputPath(const std::wstring& fileName);

// Saves the settled window (or the whole screen for a null window) as
// PELLORY_TEST_OUT\<name>.bmp; returns the path written, or nothing on failure.
std::optional<std::wstring> SaveScreenshot(HWND window, const std::wstring& name);

}  // namespace robot
