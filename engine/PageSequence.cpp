#include "engine/PageSequence.h"

std::vector<WizardPage> PagesAfterSelect(InstallMode mode) {
  std::vector<WizardPage> pages;
  if (mode == InstallMode::Custom) pages.push_back(WizardPage::CustomInst);
  pages.insert(pages.end(), {WizardPage::EULA, WizardPage::Download, WizardPage::Complete});
  return pages;
}
