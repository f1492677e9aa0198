#include "engine/Components.h"

bool IsOffered(const Component& component, uint16_t systemLangId) {
  return component.offered == Offered::Always ||
         (component.offered == Offered::JapaneseOnly && systemLangId == kLangJapanese);
}

ComponentSelection CompleteSelection(uint16_t systemLangId) {
  ComponentSelection selection{};
  for (std::size_t k = 0; k < kComponentCount; ++k)
    selection[k] = IsOffered(kComponents[k], systemLangId);
  return selection;
}

ComponentSelection SelectionOf(const InstallSession& session) {
  return {session.installCorvane, session.installPelmora, session.installTessaline};
}

void RecordSelection(InstallSession& session, const ComponentSelection& selection) {
  session.installCorvane = selection[0];
  session.installPelmora = selection[1];
  session.installTessaline = selection[2];
}
