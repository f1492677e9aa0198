#pragma once
// The wizard's page list after the install-mode page, which builds it from the chosen mode.

#include <vector>

#include "engine/InstallSession.h"

enum class WizardPage { CustomInst, EULA, Download, Complete };

// A custom installation adds the component page; both end with the agreement, download
// and completion pages.
std::vector<WizardPage> PagesAfterSelect(InstallMode mode);
