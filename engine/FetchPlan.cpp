#include "engine/FetchPlan.h"

std::vector<PlannedFile> PlanComponentFiles(const UrlListEntries& entries,
                                            const ComponentSelection& fetched, bool listPinned) {
  std::vector<PlannedFile> plan;
  for (std::size_t k = 0; k < kComponentCount; ++k) {
    const ComponentFiles& f = entries[k];
    plan.push_back({k, ComponentFileKind::ResponseFile, kComponents[k].responseKey, f.responseUrl,
                    f.responseName, f.responsePin, fetched[k]});
    plan.push_back({k, ComponentFileKind::SetupProgram, kComponents[k].setupKey, f.setupUrl,
                    f.setupName, f.setupPin, fetched[k]});
  }
  for (std::size_t i = 0; i < plan.size(); ++i) {
    PlannedFile& file = plan[i];
    if (file.name.empty()) {
      file.verdict = NameVerdict::NoName;
    } else if (!HasComponentFileExtension(file.name, file.kind)) {
      file.verdict = NameVerdict::NotOfItsKind;
    } else if (listPinned && file.fetched && !file.pin) {
      file.verdict = NameVerdict::Unpinned;
    } else {
      for (std::size_t earlier = 0; earlier < i && file.fetched; ++earlier) {
        if (!plan[earlier].fetched || plan[earlier].name.empty() ||
            !IsSameLocalName(plan[earlier].name, file.name))
          continue;
        file.verdict = NameVerdict::Taken;
        file.takenBy = earlier;
        break;
      }
    }
  }
  return plan;
}
