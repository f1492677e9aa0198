#include "engine/InstallChoices.h"

#include "engine/Components.h"

void RecordCompleteChoice(InstallSession& session, uint16_t systemLangId) {
  RecordSelection(session, CompleteSelection(systemLangId));
  session.installMode = InstallMode::Complete;
}

void RecordCustomChoice(InstallSession& session) { session.installMode = InstallMode::Custom; }

void RecordComponentChoice(InstallSession& session, bool corvaneChecked, bool tessalineChecked) {
  ComponentSelection selection{};
  selection[kCorvane] = corvaneChecked;
  selection[kTessaline] = tessalineChecked;
  RecordSelection(session, selection);
}
