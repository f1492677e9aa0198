#pragma once
// What the scenarios know of Pellory's user interface: its pages (told apart by their
// template and by a control of their own) and the texts it must show, exactly.

#include <string>
#include <vector>

namespace pellory_ui {

struct Page {
  const char* name;
  int templateId;
  int markerControl;  // a control that only this page has
};

inline constexpr Page kInstallModePage{"install-mode", 106, 1005};
inline constexpr Page kComponentPage{"component", 108, 1011};
inline constexpr Page kAgreementPage{"agreement", 110, 1008};
inline constexpr Page kDownloadPage{"download", 103, 1000};
inline constexpr Page kCompletionPage{"completion", 109, 1014};

// Page names of a list of template ids ("?<id>" for an unknown one), for readable failures.
std::vector<std::string> PageNames(const std::vector<int>& templateIds);

// Install-mode page controls.
inline constexpr int kCompleteButton = 1005;
inline constexpr int kCustomButton = 1006;
inline constexpr int kCompleteText = 1017;
inline constexpr int kCustomText = 1018;

// The string table's texts, as the program must show them.
std::wstring Text(int stringId);

// The caption of every message box: the program file's base name.
inline const wchar_t* const kAppCaption = L"Pellory";

}  // namespace pellory_ui
