// The robot's own judgement, checked against windows whose truth is known: message
// boxes that this process shows itself, and BMP files read back through Windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "robot/Image.h"
#include "robot/MessageBoxWindow.h"

using robot::MessageBoxWindow;
using robot::StandardIcon;

namespace {

// Shows a message box on a thread of its own, as the program under test would.
class OwnBox {
 public:
  explicit OwnBox(UINT type)
      : m_thread([this, type] { m_result = MessageBoxW(nullptr, L"テキスト", L"Caption", type); }) {
  }
  ~OwnBox() {
    for (const auto& box : MessageBoxWindow::All(GetCurrentProcessId())) {
      PostMessageW(box.Handle(), WM_CLOSE, 0, 0);
    }
    if (m_thread.joinable()) m_thread.join();
  }
  int Result() {
    if (m_thread.joinable()) m_thread.join();
    return m_result;
  }

 private:
  int m_result = 0;
  std::thread m_thread;
};

}  // namespace

TEST(RobotTest, TellsTheStandardIconsApart) {
  const struct {
    UINT type;
    StandardIcon icon;
    std::vector<int> buttons;
  } cases[] = {
      {MB_OK | MB_ICONEXCLAMATION, StandardIcon::Exclamation, {IDOK}},
      {MB_YESNO | MB_ICONQUESTION, StandardIcon::Question, {IDYES, IDNO}},
      {MB_RETRYCANCEL | MB_ICONHAND, StandardIcon::Error, {IDCANCEL, IDRETRY}},
      {MB_OKCANCEL | MB_ICONASTERISK, StandardIcon::Information, {IDOK, IDCANCEL}},
      {MB_RETRYCANCEL, StandardIcon::None, {IDCANCEL, IDRETRY}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(robot::NameOf(c.icon));
    OwnBox shown(c.type);
    const auto box = MessageBoxWindow::Find(GetCurrentProcessId());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->Text(), L"テキスト");
    EXPECT_EQ(box->Caption(), L"Caption");
    EXPECT_EQ(box->Icon(), c.icon);
    EXPECT_EQ(box->Buttons(), c.buttons);
    EXPECT_EQ(box->Owner(), nullptr);
  }
}

TEST(RobotTest, AnswerReturnsTheClickedButton) {
  OwnBox shown(MB_YESNO);
  const auto box = MessageBoxWindow::Find(GetCurrentProcessId());
  ASSERT_TRUE(box.has_value());
  EXPECT_FALSE(box->Answer(IDOK)) << "a button the box does not have";
  ASSERT_TRUE(box->Answer(IDNO));
  EXPECT_EQ(shown.Result(), IDNO);
}

TEST(RobotTest, SavedBmpReadsBackPixelForPixel) {
  // Widths 1, 3 and 5 need row padding; 4 needs none.
  for (int width : {1, 3, 4, 5}) {
    SCOPED_TRACE(width);
    robot::Image image{width, 2, {}};
    for (int i = 0; i < width * 2; ++i) image.pixels.push_back(0x102030u * (i + 1) & 0xFFFFFF);
    const std::wstring path = robot::TestOutputPath(L"robot-" + std::to_wstring(width) + L".bmp");
    ASSERT_TRUE(robot::SaveBmp(image, path));

    HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(loaded, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, loaded);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < width; ++x) {
        const COLORREF read = GetPixel(dc, x, y);
        const uint32_t rgb = (GetRValue(read) << 16) | (GetGValue(read) << 8) | GetBValue(read);
        EXPECT_EQ(rgb, image.At(x, y)) << "at " << x << "," << y;
      }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(loaded);
  }
}
