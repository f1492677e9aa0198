#include "engine/InstallChoices.h"

bool OffersTessaline(uint16_t systemLangId) { return systemLangId == kLangJapanese; }

void RecordCompleteChoice(InstallSession& session, uint16_t systemLangId) {
  session.installCorvane = true;
  session.installPelmora = false;
  session.installTessaline = OffersTessaline(systemLangId);
  session.installMode = InstallMode::Complete;
}

void RecordCustomChoice(InstallSession& session) { session.installMode = InstallMode::Custom; }

void RecordComponentChoice(InstallSession& session, bool corvaneChecked, bool tessalineChecked) {
  session.installCorvane = corvaneChecked;
  session.installPelmora = false;
  session.installTessaline = tessalineChecked;
}
