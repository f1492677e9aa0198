#include "PelloryUi.h"

#include <map>

namespace pellory_ui {

std::vector<std::string> PageNames(const std::vector<int>& templateIds) {
  std::vector<std::string> names;
  for (int id : templateIds) {
    std::string name = "?" + std::to_string(id);
    for (const Page& page :
         {kInstallModePage, kComponentPage, kAgreementPage, kDownloadPage, kCompletionPage}) {
      if (page.templateId == id) name = page.name;
    }
    names.push_back(name);
  }
  return names;
}

std::wstring Text(int stringId) {
  // Only the texts the scenarios look at; each page's scenarios add their own.
  static const std::map<int, std::wstring> texts = {
      {156, L"完全インストール"},
      {157, L"カスタムインストール"},
      {158, L"全てのソフトウェアをインストールします。(推奨)"},
      {159, L"ソフトウェアを選択してインストールします。"},
      {160, L"インストールの開始"},
      {161, L"ソフトウェアをインストールする方法を選択してください。"},
      {169, L"終了しますか？"},
      {179, L"すでにPelloryが実行されているため、実行に失敗しました。"},
  };
  const auto found = texts.find(stringId);
  return found == texts.end() ? std::wstring() : found->second;
}

}  // namespace pellory_ui
