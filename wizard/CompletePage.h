#pragma once
// The last page: the outcome of the installation and, after a success, the restart choice.

#include "wizard/BasePage.h"

class CCompletePage : public CBasePage {
  DECLARE_DYNAMIC(CCompletePage)
 public:
  CCompletePage();
  ~CCompletePage() override = default;
  BOOL OnSetActive() override;
  BOOL OnWizardFinish() override;

  // Asks the system for the restart privilege and then for a restart; true when requested.
  static bool RestartSystem();
  // 1 when RunOnce or RunOnceEx holds a value: the system already waits for a restart.
  static int IsRestartPending();

  // Recorded at each activation; nothing decides on it yet.
  int m_restartPending = 0;

 private:
  void PlaceFinishOverCancel();
};
