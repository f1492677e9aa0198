#include "robot/Image.h"

#include <chrono>
#include <cstring>

namespace robot {

namespace {

// A 32-bit top-down DIB section selected into a memory DC, for capturing and drawing.
class Canvas {
 public:
  Canvas(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    if (m_dc && m_bitmap) m_old = SelectObject(m_dc, m_bitmap);
  }
  ~Canvas() {
    if (m_old) SelectObject(m_dc, m_old);
    if (m_bitmap) DeleteObject(m_bitmap);
    if (m_dc) DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Valid() const { return m_old && m_bits; }
  HDC Dc() const { return m_dc; }
  Image Pixels() const {
    GdiFlush();
    Image image{m_width, m_height, std::vector<uint32_t>(static_cast<size_t>(m_width) * m_height)};
    const auto* source = static_cast<const uint32_t*>(m_bits);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = source[i] & 0xFFFFFF;
    return image;
  }

 private:
  int m_width, m_height;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  void* m_bits = nullptr;
};

}  // namespace

std::optional<Image> CaptureScreen(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return std::nullopt;
  Canvas canvas(width, height);
  HDC screen = GetDC(nullptr);
  const bool copied = canvas.Valid() && screen &&
                      BitBlt(canvas.Dc(), 0, 0, width, height, screen, rect.left, rect.top,
                             SRCCOPY | CAPTUREBLT);
  if (screen) ReleaseDC(nullptr, screen);
  if (!copied) return std::nullopt;
  return canvas.Pixels();
}

std::optional<Image> CaptureWindow(HWND window) {
  RECT rect{};
  if (!window || !GetWindowRect(window, &rect)) return std::nullopt;
  return CaptureScreen(rect);
}

std::optional<Image> CaptureDesktop() {
  const RECT rect{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                  GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return CaptureScreen(rect);
}

std::optional<Image> CaptureSettledWindow(HWND window, Duration timeout) {
  auto capture = [window] { return window ? CaptureWindow(window) : CaptureDesktop(); };
  std::optional<Image> previous = capture();
  std::optional<Image> current;
  WaitUntil(
      [&] {
        Sleep(100);  // give the program time to paint between two looks
        current = capture();
        const bool settled = current && previous && *current == *previous;
        previous = current;
        return settled;
      },
      timeout);
  return current ? current : previous;
}

std::optional<Image> RenderIcon(HICON icon, int width, int height, uint32_t background) {
  if (!icon || width <= 0 || height <= 0) return std::nullopt;
  Canvas canvas(width, height);
  if (!canvas.Valid()) return std::nullopt;
  const COLORREF fill = RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF);
  HBRUSH brush = CreateSolidBrush(fill);
  const RECT all{0, 0, width, height};
  FillRect(canvas.Dc(), &all, brush);
  DeleteObject(brush);
  if (!DrawIconEx(canvas.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL)) {
    return std::nullopt;
  }
  return canvas.Pixels();
}

double MeanDifference(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 255.0;
  double sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int pa = (a.pixels[i] >> shift) & 0xFF, pb = (b.pixels[i] >> shift) & 0xFF;
      sum += pa > pb ? pa - pb : pb - pa;
    }
  }
  return sum / (3.0 * static_cast<double>(a.pixels.size()));
}

bool SaveBmp(const Image& image, const std::wstring& path) {
  if (image.width <= 0 || image.height <= 0) return false;
  const DWORD stride = (static_cast<DWORD>(image.width) * 3 + 3) & ~3u;
  const DWORD dataSize = stride * static_cast<DWORD>(image.height);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + dataSize;
  info.biSize = sizeof info;
  info.biWidth = image.width;
  info.biHeight = image.height;  // bottom-up rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = dataSize;

  std::vector<BYTE> data(file.bfOffBits + dataSize, 0);
  std::memcpy(data.data(), &file, sizeof file);
  std::memcpy(data.data() + sizeof file, &info, sizeof info);
  for (int y = 0; y < image.height; ++y) {
    BYTE* row = data.data() + file.bfOffBits + stride * static_cast<DWORD>(image.height - 1 - y);
    for (int x = 0; x < image.width; ++x) {
      const uint32_t pixel = image.At(x, y);
      row[3 * x] = static_cast<BYTE>(pixel);
      row[3 * x + 1] = static_cast<BYTE>(pixel >> 8);
      row[3 * x + 2] = static_cast<BYTE>(pixel >> 16);
    }
  }

  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(out, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
                  written == data.size();
  CloseHandle(out);
  return ok;
}

std::wstring TestOutputPath(const std::wstring& fileName) {
  wchar_t folder[MAX_PATH] = L"";
  const DWORD length = GetEnvironmentVariableW(L"PELLORY_TEST_OUT", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return fileName;
  std::wstring path = folder;
  if (path.back() != L'\\') path += L'\\';
  return path + fileName;
}

std::optional<std::wstring> SaveScreenshot(HWND window, const std::wstring& name) {
  const auto image = CaptureSettledWindow(window);
  const std::wstring path = TestOutputPath(name + L".bmp");
  if (!image || !SaveBmp(*image, path)) return std::nullopt;
  return path;
}

}  // namespace robot
