#pragma once
// The page on which the installation happens: it starts the install worker on a thread
// of its own and guards the wizard's Cancel while the worker runs.

#include <memory>

#include "engine/CancelGate.h"
#include "engine/DetachablePageView.h"
#include "wizard/BasePage.h"

class CDownloadPage : public CBasePage {
 public:
  CDownloadPage();
  ~CDownloadPage() override;
  BOOL OnSetActive() override;
  BOOL OnQueryCancel() override;

 private:
  // Shared with the worker, which may outlive the page.
  std::shared_ptr<CancelGate> m_gate;
  // The page as the worker sees it; detached when the page goes away.
  std::shared_ptr<DetachablePageView> m_view;
};
