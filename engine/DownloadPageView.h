#pragma once
// The download page as the install worker sees it. The worker calls these on its own
// thread; every call that changes the page is synchronous and is carried out by the
// user-interface thread, which owns the page's windows.

#include <cstdint>

#include "net/FetchAndVerify.h"  // the boxes' answers

// Box types of the message-box convention (their Windows values).
enum MessageBoxType : uint32_t {
  kMbOk = 0x0,
  kMbRetryCancel = 0x5,
};

class DownloadPageView {
 public:
  virtual ~DownloadPageView() = default;

  // The status line: the text of stringId formatted with index and total.
  virtual void SetStatusText(int stringId, int index, int total) = 0;
  // The progress bar's position, 0 to 100 % of the current file.
  virtual void SetProgress(int percent) = 0;
  // Turns the progress bar into a marquee that advances every 100 ms.
  virtual void StartMarquee() = 0;
  // Disables the sheet's Cancel button and Close command for the rest of the wizard.
  virtual void DisableCancel() = 0;
  // Presses the wizard's Next button; returns once the sheet has changed pages.
  virtual void PressNext() = 0;
  // Shows the page's window again (a setup program that has just started may hide it).
  virtual void ShowPage() = 0;
  // Shows the text of stringId in a box of this type, owned by no window, on the calling
  // thread; returns the id of the button the user chose.
  virtual int ShowMessageBox(int stringId, uint32_t type) = 0;
};
