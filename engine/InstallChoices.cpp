#include "engine/InstallChoices.h"

#include "engine/Components.h"

bool OffersTessaline(uint16_t systemLangId) { return IsOffered(kComponents[2], systemLangId); }

void RecordCompleteChoice(InstallSession& session, uint16_t systemLangId) {
  RecordSelection(session, CompleteSelection(systemLangId));
  session.installMode = InstallMode::Complete;
}

void RecordCustomChoice(InstallSession& session) { session.installMode = InstallMode::Custom; }

void RecordComponentChoice(InstallSession& session, bool corvaneChecked, bool tessalineChecked) {
  // Component 2 has no box: it is never chosen.
  RecordSelection(session, {corvaneChecked, false, tessalineChecked});
}
