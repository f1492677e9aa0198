#pragma once
// The one place that chooses the real implementation of every platform interface.

#include "platform/InstallPlatform.h"

InstallPlatform SystemInstallPlatform();
