#pragma once
// The three components, always handled in this order, and everything the program knows
// of each: its URL-list keys, where the wizard offers it, and its licence texts. Flags,
// keys, agreement texts, downloads and setup runs all follow this table.

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/InstallSession.h"
#include "res/resource.h"

// Where the wizard offers a component, and so where a complete installation takes it.
enum class Offered { Always, JapaneseOnly, Never };

struct Component {
  const char* name;
  const char* responseKey;  // the URL-list key of its silent-response file
  const char* setupKey;     // and of its setup program
  Offered offered;
  uint16_t agreementJapanese;  // its licence text on a Japanese system
  uint16_t agreementOther;     // and on every other; 0: it has none there
};

// Each component's place in the table, for the code that names one.
enum ComponentIndex : std::size_t { kCorvane, kPelmora, kTessaline, kComponentCount };
constexpr std::array<Component, kComponentCount> kComponents = {{
    {"Corvane", "CVN_ISS", "CVN_EXE", Offered::Always, IDR_AGREEMENT_CORVANE_JA,
     IDR_AGREEMENT_CORVANE_EN},
    {"Pelmora", "PM_ISS", "PM_EXE", Offered::Never, IDR_AGREEMENT_PELMORA_JA, 0},
    {"Tessaline", "TSL_ISS", "TSL_EXE", Offered::JapaneseOnly, IDR_AGREEMENT_TESSALINE_JA, 0},
}};

using ComponentSelection = std::array<bool, kComponentCount>;

bool IsOffered(const Component& component, uint16_t systemLangId);
// Every component offered on a system of this language: a complete installation.
ComponentSelection CompleteSelection(uint16_t systemLangId);
// The session's three flags, in the table's order, and back.
ComponentSelection SelectionOf(const InstallSession& session);
void RecordSelection(InstallSession& session, const ComponentSelection& selection);
