#pragma once
// What the wizard's choice pages record in the install session.

#include <cstdint>

#include "engine/InstallSession.h"

// The complete-installation button: every component offered on this system.
void RecordCompleteChoice(InstallSession& session, uint16_t systemLangId);

// The custom-installation button: the mode only; the component page sets the flags.
void RecordCustomChoice(InstallSession& session);

// Next on the component page: the flags from its two check boxes. Component 2 has no box: it is
// never chosen.
void RecordComponentChoice(InstallSession& session, bool corvaneChecked, bool tessalineChecked);
